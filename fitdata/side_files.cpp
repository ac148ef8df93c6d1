// Coefficient files (*.coe, 76 / legacy 50 bytes) and function files (*.fon, 331 / legacy 156).
#include <string>

#include "common/text_conversion.h"
#include "fitdata/atomic_file.h"
#include "fitdata/binary_fields.h"
#include "fitdata/fit_data.h"
#include "fitdata/read_reasons.h"

namespace {

constexpr long COEF_FILE_SIZE = 76;
constexpr long LEGACY_COEF_FILE_SIZE = 50;
constexpr long FON_FILE_SIZE = 331;
constexpr long LEGACY_FON_FILE_SIZE = 156;

std::string CountReason(long long count, int nCoef) {
    return "fichier de coefficients pour " + Counted(count, "coefficient") + ", la fonction en a " +
           std::to_string(nCoef);
}

int ReadCurrentCoef(FunctionDef& function, FieldReader& reader, std::string& reason) {
    int32_t count = 0;
    if (!reader.Int32(count)) return 1;
    if (count != function.nCoef) {
        reason = CountReason(count, function.nCoef);
        return 2;
    }
    int answer = 0;
    if (!reader.Doubles(function.coef, MAX_COEF) || !reader.Int32s(function.coefFixed, MAX_COEF)) {
        answer = 1;
    }
    function.RebuildFreeList();
    return answer;
}

// A count that does not match still lets the values and flags in, as this form always did.
int ReadLegacyCoef(FunctionDef& function, FieldReader& reader, std::string& reason) {
    uint16_t count = 0;
    int answer = 0;
    if (!reader.UInt16(count)) {
        answer = 1;
    } else if (count != function.nCoef) {
        answer = 2;
        reason = CountReason(count, function.nCoef);
    }
    if (!ReadLegacyCoefficients(reader, function)) answer = 1;
    function.RebuildFreeList();
    return answer;
}

int ReadCurrentFon(FunctionDef& function, FieldReader& reader) {
    if (reader.TextField(function.functionText) != FieldReader::Text::Read) return 1;
    if (!reader.Int32(function.nCoef) || !reader.Doubles(function.coef, MAX_COEF) ||
        !reader.Int32s(function.coefFixed, MAX_COEF)) {
        return 1;
    }
    return 0;
}

// Goes on after a short read; a length byte above 101 ends it.
int ReadLegacyFon(FunctionDef& function, FieldReader& reader) {
    int answer = 0;
    function.nCoef = 0;
    FieldReader::Text text = reader.LegacyText(function.functionText);
    if (text == FieldReader::Text::Malformed) return 1;
    if (text == FieldReader::Text::Short) answer = 1;
    uint16_t count = 0;
    if (reader.UInt16(count)) {
        function.nCoef = count;
    } else {
        answer = 1;
    }
    if (!ReadLegacyCoefficients(reader, function)) answer = 1;
    return answer;
}

}  // namespace

int FunctionDef::ReadCoef(const std::string& path, ReadNote* note) {
    long size = 0;
    std::string reason;
    std::FILE* file = OpenForReading(path, size, reason);
    if (file == nullptr) {
        Tell(note, reason);
        return 1;
    }
    FieldReader reader(file);
    int answer = 1;
    if (size == COEF_FILE_SIZE) {
        answer = ReadCurrentCoef(*this, reader, reason);
    } else if (size == LEGACY_COEF_FILE_SIZE) {
        answer = ReadLegacyCoef(*this, reader, reason);
    } else {
        reason = WrongSizeReason("un fichier de coefficients Kurvomat", size);
    }
    return FinishReading(file, answer, reader, reason, "fichier de coefficients illisible", note);
}

int FunctionDef::WriteCoef(const std::string& path) const {
    return WriteFileAtomically(path, [&](std::FILE* file) {
        FieldWriter writer(file);
        writer.Int32(nCoef);
        writer.Doubles(coef, MAX_COEF);
        writer.Int32s(coefFixed, MAX_COEF);
        return writer.ok();
    });
}

int FunctionDef::ReadFon(const std::string& path, ReadNote* note) {
    isCompiled = 0;
    long size = 0;
    std::string reason;
    std::FILE* file = OpenForReading(path, size, reason);
    if (file == nullptr) {
        Tell(note, reason);
        return 1;
    }
    FieldReader reader(file);
    int answer = 1;
    if (size == FON_FILE_SIZE) {
        answer = ReadCurrentFon(*this, reader);
        RebuildFreeList();
    } else if (size == LEGACY_FON_FILE_SIZE) {
        answer = ReadLegacyFon(*this, reader);
        RebuildFreeList();
    } else {
        reason = WrongSizeReason("un fichier de fonction Kurvomat", size);
    }
    answer = FinishReading(file, answer, reader, reason,
                           "le texte de la fonction n'est pas celui d'un fichier Kurvomat", note);
    if (answer == 0) CompileStoredFormula(*this);
    return answer;
}

int FunctionDef::WriteFon(const std::string& path) {
    if (isCompiled == 0) functionText.clear();
    return WriteFileAtomically(path, [&](std::FILE* file) {
        FieldWriter writer(file);
        writer.TextField(functionText);
        writer.Int32(nCoef);
        writer.Doubles(coef, MAX_COEF);
        writer.Int32s(coefFixed, MAX_COEF);
        return writer.ok();
    });
}

// Both loaders read into a copy of the function, which replaces it only after a success.
int FitData::LoadCoef(const std::wstring& path, ReadNote* note) {
    FunctionDef read = function;
    const int answer = read.ReadCoef(WideToNarrow(path), note);
    if (answer != 0) return answer;
    function = read;
    fitDone = 0;
    return 0;
}

int FitData::LoadFon(const std::wstring& path, ReadNote* note) {
    FunctionDef read = function;
    const int answer = read.ReadFon(WideToNarrow(path), note);
    if (answer != 0) return answer;
    function = read;
    fitDone = 0;
    return 0;
}
