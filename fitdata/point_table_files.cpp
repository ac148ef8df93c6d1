// Point tables as text: own format (count, then pairs) read and written, separated pairs read.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "common/text_conversion.h"
#include "fitdata/atomic_file.h"
#include "fitdata/fit_data.h"
#include "fitdata/number_format.h"

int FitData::ReadPointsText(const std::string& path) {
    hasPoints = 0;
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return 1;
    int answer = 0;
    if (std::fscanf(file, "%d", &nPoints) != 1) {
        answer = 1;
    } else if (nPoints < 1 || nPoints > MAX_POINTS) {
        answer = 2;
    } else {
        for (int i = 0; i < nPoints; ++i) {
            if (std::fscanf(file, "%lf%lf", &pointX[i], &pointY[i]) != 2) {
                answer = 1;
                break;
            }
        }
    }
    if (std::ferror(file)) answer = 1;
    if (std::fclose(file) != 0) answer = 1;
    if (answer == 0) hasPoints = 1;
    return answer;
}

int FitData::ReadPointsSeparated(const std::string& path) {
    hasPoints = 0;
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return 1;
    int answer = 0;
    nPoints = 0;
    for (;;) {
        char separator = 0;
        int read = std::fscanf(file, "%lf%c%lf", &pointX[nPoints], &separator, &pointY[nPoints]);
        if (read == 3) {
            // The table's last entry is never filled from this format: 5000 pairs are too many.
            if (++nPoints == MAX_POINTS) {
                answer = 2;
                break;
            }
        } else {
            if (read == 1 || read == 2) answer = 1;
            break;  // no conversion or end of file: the table ends here
        }
    }
    // fscanf answers EOF for a read error too; an error must not pass for the end of the table.
    if (std::ferror(file)) answer = 1;
    if (std::fclose(file) != 0) answer = 1;
    if (answer == 0) hasPoints = 1;
    return answer;
}

int FitData::WritePointsText(const std::string& path) const {
    if (hasPoints == 0) {
        errno = ENODATA;  // nothing to write
        return 1;
    }
    int count = std::clamp<int32_t>(nPoints, 0, MAX_POINTS);
    return WriteFileAtomically(path, [&](std::FILE* file) {
        if (std::fprintf(file, "%d\n", nPoints) < 0) return false;
        bool complete = true;
        for (int i = 0; i < count; ++i) {
            if (std::fprintf(file, "%s %s\n", FormatNumberA(0, pointX[i]).c_str(),
                             FormatNumberA(0, pointY[i]).c_str()) < 2) {
                complete = false;
            }
        }
        return complete;
    });
}

int FitData::LoadPointsText(const std::wstring& path) {
    scale.autoScale = 1;
    fitDone = 0;
    return ReadPointsText(WideToNarrow(path));
}

int FitData::LoadPointsSeparated(const std::wstring& path) {
    scale.autoScale = 1;
    fitDone = 0;
    return ReadPointsSeparated(WideToNarrow(path));
}
