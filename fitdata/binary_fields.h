// Packed little-endian fields of the binary files, and the reading steps their readers share.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct FunctionDef;
struct ReadNote;

inline constexpr int TEXT_FIELD_SIZE = 255;   // at most 254 characters and a zero byte
inline constexpr int LEGACY_TEXT_SIZE = 101;  // legacy text bytes after their length byte
inline constexpr int REAL48_SIZE = 6;

// Opens path for binary reading without waiting and takes its size; nullptr when it cannot be
// opened or names no regular file (a named pipe, a folder), `reason` then telling why.
std::FILE* OpenForReading(const std::string& path, long& size, std::string& reason);

// Each array is asked for in one request; a short read stores the elements that did arrive and
// answers false.
class FieldReader {
  public:
    explicit FieldReader(std::FILE* file) : file_(file) {}

    bool Skip(int bytes);
    bool Byte(uint8_t& value);
    bool UInt16(uint16_t& value);
    bool UInt16s(uint16_t* values, int count);
    bool Int32(int32_t& value);
    bool Int32s(int32_t* values, int count);
    bool Double(double& value);
    bool Doubles(double* values, int count);
    bool Real48s(double* values, int count);

    // Malformed: a field that the record cannot take (no zero byte, a length above 101).
    enum class Text { Read, Short, Malformed };
    // A 255-byte text field: the text up to its first zero byte. `text` is set only on Read.
    Text TextField(std::string& text);
    // The legacy text: a length byte, then LEGACY_TEXT_SIZE bytes of which the text is the first
    // `length`, ending earlier at a zero byte. `text` is set only on Read.
    Text LegacyText(std::string& text);

    // Why a reading failed: the system's reason after a read error, "fin de fichier inattendue"
    // after a short read at the end, else `invalid` (a value that the record cannot take).
    std::string FailureReason(const char* invalid) const;

  private:
    // Reads up to count elements of `size` bytes into buffer_; answers the number read.
    size_t Fetch(size_t size, int count);

    std::FILE* file_;
    bool short_ = false;  // a request got fewer elements than it asked for
    int error_ = 0;       // errno of the first read error
    uint8_t buffer_[40000];
};

// Writes fields until the first short write; after it every call does nothing and ok() is false.
class FieldWriter {
  public:
    explicit FieldWriter(std::FILE* file) : file_(file) {}

    void Int32(int32_t value) { Int32s(&value, 1); }
    void Int32s(const int32_t* values, int count);
    void Double(double value) { Doubles(&value, 1); }
    void Doubles(const double* values, int count);
    // The text's first 254 bytes, a zero byte, zero bytes to the end of the 255-byte field.
    void TextField(const std::string& text);
    bool ok() const { return ok_; }

  private:
    void Put(size_t size, int count);

    std::FILE* file_;
    bool ok_ = true;
    uint8_t buffer_[40000];
};

// The end of a binary file's reading: closes the file (a failing close fails a success), and
// after a failure tells `note` the first reason found: `reason` when one was given, else the
// reader's, `invalid` standing for a value the record cannot take. Answers the final answer.
int FinishReading(std::FILE* file, int answer, const FieldReader& reader, std::string reason,
                  const char* invalid, ReadNote* note);

// The legacy coefficient block: six Real48 values, then six flag words. Every coefficient starts
// fixed and a nonzero word makes it adjusted (the legacy flags mean the opposite of coefFixed).
// Answers false after any short read; what did arrive is stored.
bool ReadLegacyCoefficients(FieldReader& reader, FunctionDef& function);

// After a successful read: compiles the stored formula with its own text, which keeps the values
// and flags read, and keeps the list of adjusted coefficients within the compiler's count even
// when the file's count disagreed with its formula.
void CompileStoredFormula(FunctionDef& function);
