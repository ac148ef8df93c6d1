// Little-endian field reading and writing, independent of the compiler's layout and byte order.
#include "fitdata/binary_fields.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "common/assert.h"
#include "common/regular_file.h"
#include "fitdata/fit_data.h"
#include "fitdata/number_format.h"
#include "fitdata/read_reasons.h"

namespace {

uint64_t LoadLittle(const uint8_t* bytes, int size) {
    uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

void StoreLittle(uint64_t value, uint8_t* bytes, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(value);
        value >>= 8;
    }
}

}  // namespace

std::FILE* OpenForReading(const std::string& path, long& size, std::string& reason) {
    size = -1;
    const int descriptor = OpenRegularFile(path, reason);
    if (descriptor < 0) return nullptr;
    // The descriptor stays non-blocking, which the reading of a regular file ignores.
    std::FILE* file = ::fdopen(descriptor, "rb");
    if (file == nullptr) {
        reason = SystemReason(errno);
        ::close(descriptor);
        return nullptr;
    }
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) size = -1;
    return file;
}

size_t FieldReader::Fetch(size_t size, int count) {
    KURVO_ASSERT(count >= 0 && size * static_cast<size_t>(count) <= sizeof buffer_);
    const size_t got = std::fread(buffer_, size, static_cast<size_t>(count), file_);
    if (got < static_cast<size_t>(count)) {
        if (!short_ && std::ferror(file_)) error_ = errno;
        short_ = true;
    }
    return got;
}

std::string FieldReader::FailureReason(const char* invalid) const {
    if (error_ != 0) return SystemReason(error_);
    return short_ ? "fin de fichier inattendue" : invalid;
}

bool FieldReader::Skip(int bytes) {
    return Fetch(static_cast<size_t>(bytes), 1) == 1;
}

bool FieldReader::Byte(uint8_t& value) {
    if (Fetch(1, 1) != 1) return false;
    value = buffer_[0];
    return true;
}

bool FieldReader::UInt16(uint16_t& value) {
    return UInt16s(&value, 1);
}

bool FieldReader::UInt16s(uint16_t* values, int count) {
    size_t got = Fetch(2, count);
    for (size_t i = 0; i < got; ++i)
        values[i] = static_cast<uint16_t>(LoadLittle(buffer_ + 2 * i, 2));
    return got == static_cast<size_t>(count);
}

bool FieldReader::Int32(int32_t& value) {
    return Int32s(&value, 1);
}

bool FieldReader::Int32s(int32_t* values, int count) {
    size_t got = Fetch(4, count);
    for (size_t i = 0; i < got; ++i) {
        values[i] = static_cast<int32_t>(static_cast<uint32_t>(LoadLittle(buffer_ + 4 * i, 4)));
    }
    return got == static_cast<size_t>(count);
}

bool FieldReader::Double(double& value) {
    return Doubles(&value, 1);
}

bool FieldReader::Doubles(double* values, int count) {
    size_t got = Fetch(8, count);
    for (size_t i = 0; i < got; ++i)
        values[i] = std::bit_cast<double>(LoadLittle(buffer_ + 8 * i, 8));
    return got == static_cast<size_t>(count);
}

bool FieldReader::Real48s(double* values, int count) {
    size_t got = Fetch(REAL48_SIZE, count);
    for (size_t i = 0; i < got; ++i) values[i] = Real48ToDouble(buffer_ + REAL48_SIZE * i);
    return got == static_cast<size_t>(count);
}

FieldReader::Text FieldReader::TextField(std::string& text) {
    if (Fetch(TEXT_FIELD_SIZE, 1) != 1) return Text::Short;
    const auto* end = static_cast<const uint8_t*>(std::memchr(buffer_, 0, TEXT_FIELD_SIZE));
    if (end == nullptr) return Text::Malformed;
    text.assign(reinterpret_cast<const char*>(buffer_), static_cast<size_t>(end - buffer_));
    return Text::Read;
}

FieldReader::Text FieldReader::LegacyText(std::string& text) {
    uint8_t length = 0;
    if (!Byte(length)) return Text::Short;
    if (length > LEGACY_TEXT_SIZE) return Text::Malformed;
    if (Fetch(LEGACY_TEXT_SIZE, 1) != 1) return Text::Short;
    const char* bytes = reinterpret_cast<const char*>(buffer_);
    text.assign(bytes, strnlen(bytes, length));
    return Text::Read;
}

void FieldWriter::Put(size_t size, int count) {
    if (ok_ && std::fwrite(buffer_, size, static_cast<size_t>(count), file_) !=
                   static_cast<size_t>(count)) {
        ok_ = false;
    }
}

void FieldWriter::Int32s(const int32_t* values, int count) {
    KURVO_ASSERT(count >= 0 && 4 * static_cast<size_t>(count) <= sizeof buffer_);
    for (int i = 0; i < count; ++i)
        StoreLittle(static_cast<uint32_t>(values[i]), buffer_ + 4 * i, 4);
    Put(4, count);
}

void FieldWriter::Doubles(const double* values, int count) {
    KURVO_ASSERT(count >= 0 && 8 * static_cast<size_t>(count) <= sizeof buffer_);
    for (int i = 0; i < count; ++i)
        StoreLittle(std::bit_cast<uint64_t>(values[i]), buffer_ + 8 * i, 8);
    Put(8, count);
}

void FieldWriter::TextField(const std::string& text) {
    std::memset(buffer_, 0, TEXT_FIELD_SIZE);
    std::memcpy(buffer_, text.data(), std::min<size_t>(text.size(), TEXT_FIELD_SIZE - 1));
    Put(TEXT_FIELD_SIZE, 1);
}

int FinishReading(std::FILE* file, int answer, const FieldReader& reader, std::string reason,
                  const char* invalid, ReadNote* note) {
    if (answer != 0 && reason.empty()) reason = reader.FailureReason(invalid);
    if (std::fclose(file) != 0 && answer == 0) {
        answer = 1;
        reason = SystemReason(errno);
    }
    if (answer != 0) Tell(note, reason);
    return answer;
}

bool ReadLegacyCoefficients(FieldReader& reader, FunctionDef& function) {
    bool complete = true;
    for (int i = 0; i < MAX_COEF; ++i) function.coefFixed[i] = 1;
    if (!reader.Real48s(function.coef, MAX_COEF)) complete = false;
    uint16_t adjusted[MAX_COEF] = {};  // a word not read leaves its coefficient fixed
    if (!reader.UInt16s(adjusted, MAX_COEF)) complete = false;
    for (int i = 0; i < MAX_COEF; ++i) {
        if (adjusted[i] != 0) function.coefFixed[i] = 0;
    }
    return complete;
}

void CompileStoredFormula(FunctionDef& function) {
    if (function.functionText.empty()) return;
    std::string text = function.functionText;
    function.SetTextA(text);
    if (function.isCompiled == 1) function.RebuildFreeList();
}
