// Point tables as text: own format (count, then pairs) read and written, separated pairs read.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "common/decimal_comma.h"
#include "common/text_conversion.h"
#include "fitdata/atomic_file.h"
#include "fitdata/binary_fields.h"
#include "fitdata/fit_data.h"
#include "fitdata/number_format.h"
#include "fitdata/read_reasons.h"

namespace {

// A point table is small (5000 pairs take about 150 kB); a file beyond this is not read at all.
constexpr std::size_t kMaxTextBytes = std::size_t{64} << 20;
constexpr std::size_t kQuotedCharacters = 40;

// The whole text of a file; false with the reason when it cannot be read.
bool ReadWholeText(const std::string& path, std::string& text, std::string& reason) {
    long size = 0;
    std::FILE* file = OpenForReading(path, size, reason);
    if (file == nullptr) return false;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() <= kMaxTextBytes) {
        text.append(chunk, got);
    }
    // fread answers 0 for a read error too; an error must not pass for the end of the table.
    if (std::ferror(file)) reason = SystemReason(errno);
    if (std::fclose(file) != 0 && reason.empty()) reason = SystemReason(errno);
    if (reason.empty() && text.size() > kMaxTextBytes)
        reason = "fichier trop grand (64 Mo au plus)";
    return reason.empty();
}

// White space, line ends included.
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// White space within a line.
bool IsLineBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A letter of a word: an ASCII letter or any byte of a character beyond ASCII ("é").
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           static_cast<unsigned char>(c) >= 0x80;
}

// What a place of a table's text holds: no number, a number that a point can take, or one that
// no point can take (nan, inf, a number beyond the doubles such as 1e999).
enum class Reading { None, Finite, NotFinite };

// Reading through a point table's text front to back, numbers as "%lf" reads them, with the line
// of every place for the messages. Lines end with LF, CR LF or CR.
class TableText {
  public:
    explicit TableText(std::string text) : text_(std::move(text)) {
        // The byte-order mark that some spreadsheets put before UTF-8 text is no part of it.
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    bool AtLineEnd() const { return AtEnd() || text_[pos_] == '\n' || text_[pos_] == '\r'; }
    int Line() const { return line_; }

    // A place in the text, to come back to.
    struct Mark {
        std::size_t pos;
        int line;
    };
    Mark Here() const { return {pos_, line_}; }
    void GoBack(Mark mark) {
        pos_ = mark.pos;
        line_ = mark.line;
    }

    // Skips white space, line ends included.
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(text_[pos_])) Advance(1);
    }

    void SkipLineBlanks() {
        while (!AtEnd() && IsLineBlank(text_[pos_])) ++pos_;
    }

    // Goes to the start of the next line.
    void NextLine() {
        while (!AtLineEnd()) ++pos_;
        if (!AtEnd()) Advance(text_.compare(pos_, 2, "\r\n") == 0 ? 2 : 1);
    }

    // The number that begins here (no white space skipped), read as far as it goes; a comma
    // between digits is its decimal point when `decimalComma`. Where no number begins, nothing
    // is read.
    Reading Read(bool decimalComma, double& value) {
        char* start = text_.data() + pos_;
        // strtod would skip white space, line ends included.
        if (AtEnd() || IsBlank(*start)) return Reading::None;
        const std::ptrdiff_t comma = decimalComma ? DecimalCommaAt(start) : -1;
        if (comma >= 0) start[comma] = '.';
        char* end = start;
        const double read = std::strtod(start, &end);
        if (comma >= 0) start[comma] = ',';
        if (end == start) return Reading::None;
        // "nan" and "inf" are numbers as words of their own: "Inférieur" is a column title.
        const char* first = start + (*start == '+' || *start == '-' ? 1 : 0);
        if (IsLetter(*first) && IsLetter(*end)) return Reading::None;
        pos_ += static_cast<std::size_t>(end - start);  // a number holds no line end
        if (!std::isfinite(read)) return Reading::NotFinite;
        value = read;
        return Reading::Finite;
    }

    // A finite number after white space, a comma between digits taken as the point; false,
    // `value` kept, when there is none.
    bool Number(double& value) {
        SkipBlanks();
        return Read(true, value) == Reading::Finite;
    }

    // A number here that may stand between double quotes, as spreadsheets write text fields.
    Reading QuotedNumber(bool decimalComma, double& value) {
        const Mark start = Here();
        const bool quoted = !AtEnd() && text_[pos_] == '"';
        if (quoted) ++pos_;
        Reading read = Read(decimalComma, value);
        if (read != Reading::None && quoted) {
            if (!AtEnd() && text_[pos_] == '"') {
                ++pos_;
            } else {
                read = Reading::None;
            }
        }
        if (read == Reading::None) GoBack(start);
        return read;
    }

    // Whether a number, quoted or not, begins here.
    bool BeginsNumber() {
        double ignored = 0.0;
        const Mark start = Here();
        const bool number = QuotedNumber(false, ignored) != Reading::None;
        GoBack(start);
        return number;
    }

    // Steps over the separator after X on its line: the first character that is not a blank,
    // or the blanks themselves when a number follows them; blanks on either side are skipped.
    // False when the line ends first.
    bool Separator() {
        const std::size_t before = pos_;
        SkipLineBlanks();
        if (AtLineEnd()) return false;
        if (pos_ > before && BeginsNumber()) return true;
        Advance(1);
        SkipLineBlanks();
        return true;
    }

    // Whether the comma of the line starting here separates X from Y, the numbers having the
    // point ("1.5,2.5", "10,20"): the line holds exactly one comma, no semicolon, no tab and no
    // blanks between two numbers. Otherwise a comma between digits is a decimal point.
    bool CommaSeparates() const {
        const std::size_t end = std::min(text_.find_first_of("\r\n", pos_), text_.size());
        auto endsNumber = [](char c) { return IsDigit(c) || c == '.' || c == '"'; };
        auto beginsNumber = [](char c) {
            return IsDigit(c) || c == '.' || c == '"' || c == '+' || c == '-';
        };
        int commas = 0;
        for (std::size_t i = pos_; i < end; ++i) {
            const char c = text_[i];
            if (c == ';' || c == '\t') return false;
            if (c == ',') ++commas;
            if (IsLineBlank(c) && i > pos_ && endsNumber(text_[i - 1])) {
                std::size_t next = i;
                while (next < end && IsLineBlank(text_[next])) ++next;
                if (next < end && beginsNumber(text_[next])) return false;
            }
        }
        return commas == 1;
    }

    // A decimal integer after white space, as "%d" reads it; a value beyond the range of
    // long long is held at its limits.
    bool Integer(long long& value) {
        SkipBlanks();
        const char* start = text_.c_str() + pos_;
        char* end = nullptr;
        const long long read = std::strtoll(start, &end, 10);
        if (end == start) return false;
        value = read;
        Advance(static_cast<std::size_t>(end - start));
        return true;
    }

    // The first characters of the current line, as UTF-8 (a byte that is no UTF-8 is taken as
    // its Latin-1 character); control characters but the tab show as blanks.
    std::string LineQuote() const {
        std::size_t start = pos_ == 0 ? std::string::npos : text_.find_last_of("\r\n", pos_ - 1);
        start = start == std::string::npos ? 0 : start + 1;
        if (start < 3 && text_.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
        std::size_t end = text_.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text_.size();
        // Four bytes at most per character: enough bytes for the characters quoted.
        end = std::min(end, start + 4 * kQuotedCharacters);
        std::wstring line = NarrowToWide(std::string_view(text_).substr(start, end - start));
        if (line.size() > kQuotedCharacters) line.resize(kQuotedCharacters);
        for (wchar_t& c : line)
            if (c < L' ' && c != L'\t') c = L' ';
        return WideToNarrow(line);
    }

  private:
    void Advance(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const char c = text_[pos_ + i];
            if (c == '\n' || (c == '\r' && text_[pos_ + i + 1] != '\n')) ++line_;
        }
        pos_ += count;
    }

    std::string text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

// The file's text ready for reading; nothing, the reason told, when it cannot be read.
std::optional<TableText> ReadTable(const std::string& path, ReadNote* note) {
    std::string text;
    std::string reason;
    if (!ReadWholeText(path, text, reason)) {
        Tell(note, reason);
        return std::nullopt;
    }
    return TableText(std::move(text));
}

std::string BrokenLine(int line) {
    return "la ligne " + std::to_string(line) + " ne contient pas deux nombres";
}

// Why a reading failed at the pair that starts at `pair`: its line holds no two numbers, or only
// white space follows the last complete pair (`atEnd`).
std::string BrokenPairReason(TableText& table, TableText::Mark pair, const std::string& atEnd) {
    table.GoBack(pair);
    table.SkipBlanks();
    if (table.AtEnd()) return atEnd;
    return BrokenLine(table.Line());
}

// After a success: the line of text left unread, when any is left.
void NoteUnreadText(TableText& table, ReadNote* note) {
    table.SkipBlanks();
    if (table.AtEnd() || note == nullptr) return;
    note->stopLine = table.Line();
    note->stopText = table.LineQuote();
}

std::string TooManyPoints() {
    return "trop de points (" + std::to_string(MAX_POINTS) + " au plus)";
}

}  // namespace

int FitData::ReadPointsText(const std::string& path, ReadNote* note) {
    hasPoints = 0;
    std::optional<TableText> read = ReadTable(path, note);
    if (!read) return 1;
    TableText& table = *read;
    long long count = 0;
    if (!table.Integer(count)) {
        table.SkipBlanks();
        Tell(note, table.AtEnd() ? std::string("le fichier est vide")
                                 : "la ligne " + std::to_string(table.Line()) +
                                       " ne commence pas par le nombre de points");
        return 1;
    }
    nPoints = static_cast<int32_t>(std::clamp<long long>(count, INT32_MIN, INT32_MAX));
    if (count > MAX_POINTS) {
        Tell(note, TooManyPoints());
        return 2;
    }
    if (count < 1) {
        Tell(note, "le fichier annonce " + Counted(count, "point") + " (1 au moins)");
        return 2;
    }
    for (int i = 0; i < nPoints; ++i) {
        const TableText::Mark pair = table.Here();
        if (!table.Number(pointX[i]) || !table.Number(pointY[i])) {
            Tell(note, BrokenPairReason(table, pair,
                                        "le fichier s'arrête après " + Counted(i, "point") +
                                            ", il en annonce " + std::to_string(count)));
            return 1;
        }
    }
    hasPoints = 1;
    NoteUnreadText(table, note);
    return 0;
}

int FitData::ReadPointsSeparated(const std::string& path, ReadNote* note) {
    hasPoints = 0;
    nPoints = 0;
    std::optional<TableText> read = ReadTable(path, note);
    if (!read) return 1;
    TableText& table = *read;
    bool firstLine = true;
    for (;;) {
        table.SkipBlanks();
        if (table.AtEnd()) break;
        const bool commaSeparates = table.CommaSeparates();
        double x = 0.0;
        double y = 0.0;
        const Reading first = table.QuotedNumber(!commaSeparates, x);
        if (first == Reading::None) {
            if (!firstLine) break;  // the table ends at a line that does not begin with a number
            table.NextLine();       // column titles
            firstLine = false;
            continue;
        }
        firstLine = false;
        if (first != Reading::Finite || !table.Separator() ||
            table.QuotedNumber(!commaSeparates, y) != Reading::Finite) {
            Tell(note, BrokenLine(table.Line()));
            return 1;
        }
        if (nPoints == MAX_POINTS) {
            Tell(note, TooManyPoints());
            return 2;
        }
        pointX[nPoints] = x;
        pointY[nPoints] = y;
        ++nPoints;
        // Text after Y ends the table after this pair.
        table.SkipLineBlanks();
        if (!table.AtLineEnd()) break;
    }
    if (nPoints == 0) {
        Tell(note, BrokenPairReason(table, table.Here(), "le fichier ne contient aucun point"));
        return 1;
    }
    hasPoints = 1;
    NoteUnreadText(table, note);
    return 0;
}

bool IsOwnPointFormat(const std::wstring& path) {
    std::optional<TableText> read = ReadTable(WideToNarrow(path), nullptr);
    if (!read) return false;
    TableText& table = *read;
    long long count = 0;
    if (!table.Integer(count)) return false;
    table.SkipLineBlanks();
    return table.AtLineEnd();
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

namespace {

// Reads with `read` into a fresh record; the table of `data` changes only after a success.
int LoadPoints(FitData& data, const std::wstring& path, ReadNote* note,
               int (FitData::*read)(const std::string&, ReadNote*)) {
    auto fresh = std::make_unique<FitData>();
    const int answer = ((*fresh).*read)(WideToNarrow(path), note);
    if (answer != 0) return answer;
    data.scale.autoScale = 1;
    data.fitDone = 0;
    data.SetPoints(fresh->nPoints, fresh->pointX, fresh->pointY);
    return 0;
}

}  // namespace

int FitData::LoadPointsText(const std::wstring& path, ReadNote* note) {
    return LoadPoints(*this, path, note, &FitData::ReadPointsText);
}

int FitData::LoadPointsSeparated(const std::wstring& path, ReadNote* note) {
    return LoadPoints(*this, path, note, &FitData::ReadPointsSeparated);
}
