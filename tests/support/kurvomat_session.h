// A Kurvomat run on the headless backend for tests: its own settings and file folder, start,
// restart and access to the document.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "common/assert.h"
#include "common/text_conversion.h"
#include "fitdata/fit_data.h"
#include "framework/framework.h"
#include "framework/headless/driver.h"
#include "shell/kurvomat_app.h"
#include "shell/kurvomat_doc.h"

class KurvomatSession : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kurvomat-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        // The recent-file list lives under the settings folder: never the user's own.
        setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        driver_ = std::make_unique<headless::Driver>();
    }

    void TearDown() override {
        Stop();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Starts the program; the splash is let run out on the clock. Answers what start-up answered.
    bool Start(const std::wstring& commandLine = L"") {
        NewApp();
        driver_->NextDialog(130).AdvanceClock(3000);
        return driver_->Start(commandLine);
    }

    // A driver (when none runs) and a new application object, not started yet.
    void NewApp() {
        if (!driver_) driver_ = std::make_unique<headless::Driver>();
        app_ = std::make_unique<CKurvomatApp>();
    }

    // Ends the program as the driver does (no questions) and forgets it. Whatever the scripting
    // recorded as wrong, or scripted and never used, fails the test: a dialog that never opened
    // must not skip its checks silently.
    void Stop() {
        if (driver_) {
            for (const std::string& error : driver_->Errors()) ADD_FAILURE() << "driver: " << error;
            EXPECT_EQ(driver_->PendingAnswers(), 0u) << "scripted answers left unused";
        }
        driver_.reset();
        app_.reset();
    }

    // Ends the program and starts it again with the same settings folder.
    bool Restart(const std::wstring& commandLine = L"") {
        Stop();
        return Start(commandLine);
    }

    headless::Driver& Driver() { return *driver_; }

    CKurvomatDoc& Document() {
        auto* document = dynamic_cast<CKurvomatDoc*>(driver_->MainFrame()->GetActiveDocument());
        KURVO_ASSERT(document != nullptr);
        return *document;
    }

    FitData& Data() { return Document().fitData; }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::wstring WidePath(const std::string& name) const { return NarrowToWide(Path(name)); }

    // Writes an application file made by `fill` on a reset record; answers its path.
    std::wstring WriteDocument(const std::string& name, const std::function<void(FitData&)>& fill) {
        auto data = std::make_unique<FitData>();
        data->Reset();
        fill(*data);
        EXPECT_EQ(data->WriteGen(Path(name)), 0) << name;
        return WidePath(name);
    }

    void WriteBytes(const std::string& name, const std::string& bytes) {
        std::ofstream out(Path(name), std::ios::binary);
        out << bytes;
    }

    // The errors of the driver's scripting, one per line (empty when none).
    std::string ScriptErrors() const {
        std::string all;
        if (driver_) {
            for (const std::string& error : driver_->Errors()) all += error + "\n";
        }
        return all;
    }

    std::filesystem::path folder_;
    std::unique_ptr<CKurvomatApp> app_;
    std::unique_ptr<headless::Driver> driver_;
};

// A started program and a reset record of the test's own, for a dialog run apart from the view.
class DialogSession : public KurvomatSession {
  protected:
    void SetUp() override {
        KurvomatSession::SetUp();
        ASSERT_TRUE(Start());
        data_ = std::make_unique<FitData>();
        data_->Reset();
    }

    std::unique_ptr<FitData> data_;
};

// A function with its coefficients; `fixed` lists the coefficients held fixed.
inline void SetFunction(FitData& data, const std::string& formula,
                        std::initializer_list<double> values,
                        std::initializer_list<int> fixed = {}) {
    ASSERT_EQ(data.function.SetTextA(formula), "Ok") << formula;
    double coef[MAX_COEF] = {};
    int flags[MAX_COEF] = {};
    int i = 0;
    for (double v : values) coef[i++] = v;
    i = 0;
    for (int f : fixed) flags[i++] = f;
    data.function.SetCoefficients(coef, flags);
}

inline void SetPoints(FitData& data, std::initializer_list<double> x,
                      std::initializer_list<double> y) {
    ASSERT_EQ(x.size(), y.size());
    ASSERT_GE(data.SetPoints(static_cast<int>(x.size()), x.begin(), y.begin()), 0);
}
