// Every reader refuses a named pipe or a folder at once, with the reason, and never waits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <string>

#include "common/text_conversion.h"
#include "fitdata/fit_data.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

struct Reader {
    const char* name;
    std::function<int(FitData&, const std::string&, ReadNote*)> read;
    bool tellsReason;
};

TEST(NonRegularFileTest, ReadersRefuseWithoutWaiting) {
    const Reader readers[] = {
        {"own point format",
         [](FitData& d, auto& p, ReadNote* n) { return d.ReadPointsText(p, n); }, true},
        {"separated points",
         [](FitData& d, auto& p, ReadNote* n) { return d.ReadPointsSeparated(p, n); }, true},
        {"application", [](FitData& d, auto& p, ReadNote* n) { return d.ReadGen(p, n); }, true},
        {"coefficients", [](FitData& d, auto& p, ReadNote* n) { return d.function.ReadCoef(p, n); },
         true},
        {"function", [](FitData& d, auto& p, ReadNote* n) { return d.function.ReadFon(p, n); },
         true},
        {"point format check",
         [](FitData&, auto& p, ReadNote*) { return IsOwnPointFormat(NarrowToWide(p)) ? 0 : 1; },
         false},
    };
    TempDir dir;
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, std::string> files[] = {
        {pipe, "ce n'est pas un fichier ordinaire"}, {dir.path(), "Is a directory"}};
    for (const Reader& reader : readers) {
        for (const auto& [path, reason] : files) {
            SCOPED_TRACE(std::string(reader.name) + " " + path);
            auto data = std::make_unique<FitData>();
            ReadNote note;
            std::future<int> answer =
                std::async(std::launch::async, [&] { return reader.read(*data, path, &note); });
            if (answer.wait_for(std::chrono::seconds(1)) != std::future_status::ready) {
                ADD_FAILURE() << "the reader waits";
                // A writer that comes and goes lets the waiting open return.
                const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
                if (writer >= 0) ::close(writer);
            }
            EXPECT_EQ(answer.get(), 1);
            if (reader.tellsReason) {
                EXPECT_EQ(note.reason, reason);
            }
        }
    }
}

}  // namespace
