// The application file (*.gen): current forms of 2202 and 80602 bytes, legacy form of 1371.
#include <string>

#include "fitdata/atomic_file.h"
#include "fitdata/binary_fields.h"
#include "fitdata/fit_data.h"
#include "fitdata/read_reasons.h"

namespace {

constexpr long SMALL_FILE_SIZE = 2202;
constexpr long LARGE_FILE_SIZE = 80602;
constexpr long LEGACY_FILE_SIZE = 1371;
constexpr int SMALL_FORM_POINTS = 100;  // points held by the small and the legacy forms
constexpr int LEGACY_LEADING_BYTES = 10;

// The fields of a current form in file order; the first short read, or a value that the record
// cannot hold, ends the reading. Answers 0 or 1.
int ReadCurrentFields(FitData& data, FieldReader& reader, int capacity) {
    FunctionDef& function = data.function;
    int32_t count = 0;
    if (!reader.Int32(count)) return 1;
    if (count < 0 || count > capacity) return 1;
    data.nPoints = count;
    if (!reader.Doubles(data.pointX, capacity) || !reader.Doubles(data.pointY, capacity)) return 1;
    if (reader.TextField(function.functionText) != FieldReader::Text::Read) return 1;
    if (!reader.Int32(function.nCoef) || !reader.Doubles(function.coef, MAX_COEF) ||
        !reader.Int32s(function.coefFixed, MAX_COEF) || !reader.Double(data.fitDistance) ||
        !reader.Int32(data.equation.equationOrder)) {
        return 1;
    }
    if (reader.TextField(data.equation.equationText) != FieldReader::Text::Read) return 1;
    return 0;
}

// The legacy form goes on after a short read, so that as much as possible is filled; a value that
// the record cannot hold (more than 100 points, a length byte above 101) ends it. Answers 0 or 1.
int ReadLegacyFields(FitData& data, FieldReader& reader) {
    FunctionDef& function = data.function;
    int answer = 0;
    function.nCoef = 0;
    data.nPoints = 0;
    if (reader.Skip(LEGACY_LEADING_BYTES)) {
        uint16_t coefficientCount = 0;
        uint16_t pointCount = 0;
        if (reader.UInt16(coefficientCount)) {
            function.nCoef = coefficientCount;
        } else {
            answer = 1;
        }
        if (reader.UInt16(pointCount)) {
            if (pointCount > SMALL_FORM_POINTS) return 1;
            data.nPoints = pointCount;
        } else {
            answer = 1;
        }
    } else {
        answer = 1;
    }
    if (!reader.Real48s(data.pointX, SMALL_FORM_POINTS)) answer = 1;
    if (!reader.Real48s(data.pointY, SMALL_FORM_POINTS)) answer = 1;
    if (!ReadLegacyCoefficients(reader, function)) answer = 1;
    FieldReader::Text text = reader.LegacyText(function.functionText);
    if (text == FieldReader::Text::Malformed) return 1;
    return text == FieldReader::Text::Read ? answer : 1;
}

}  // namespace

int FitData::ReadGen(const std::string& path, ReadNote* note) {
    Reset();
    long size = 0;
    std::string reason;
    std::FILE* file = OpenForReading(path, size, reason);
    if (file == nullptr) {
        Tell(note, reason);
        return 1;
    }
    FieldReader reader(file);
    int answer = 1;
    if (size == LARGE_FILE_SIZE || size == SMALL_FILE_SIZE) {
        answer = ReadCurrentFields(*this, reader,
                                   size == LARGE_FILE_SIZE ? MAX_POINTS : SMALL_FORM_POINTS);
        function.RebuildFreeList();
    } else if (size == LEGACY_FILE_SIZE) {
        answer = ReadLegacyFields(*this, reader);
        function.RebuildFreeList();
    } else {
        reason = WrongSizeReason("un document Kurvomat", size);
    }
    answer = FinishReading(file, answer, reader, reason,
                           "le contenu n'est pas celui d'un document Kurvomat", note);
    if (answer != 0) return answer;

    if (fitDistance >= 0) fitDone = 1;
    CompileStoredFormula(function);
    if (equation.equationOrder > 0) equation.hasEquation = 1;
    if (nPoints > 0) hasPoints = 1;
    return 0;
}

int FitData::WriteGen(const std::string& path) {
    if (fitDone == 0) fitDistance = -1.0;
    if (function.isCompiled == 0) function.functionText.clear();
    if (equation.hasEquation == 0) equation.equationOrder = 0;
    if (hasPoints == 0) nPoints = 0;

    int capacity = nPoints <= SMALL_FORM_POINTS ? SMALL_FORM_POINTS : MAX_POINTS;
    return WriteFileAtomically(path, [&](std::FILE* file) {
        FieldWriter writer(file);
        writer.Int32(nPoints);
        writer.Doubles(pointX, capacity);
        writer.Doubles(pointY, capacity);
        writer.TextField(function.functionText);
        writer.Int32(function.nCoef);
        writer.Doubles(function.coef, MAX_COEF);
        writer.Int32s(function.coefFixed, MAX_COEF);
        writer.Double(fitDistance);
        writer.Int32(equation.equationOrder);
        writer.TextField(equation.equationText);
        return writer.ok();
    });
}
