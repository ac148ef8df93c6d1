// Builds a binary file image field by field, little-endian and packed, for file-format tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/real48_encoder.h"

namespace testing_support {

class ByteBuilder {
  public:
    ByteBuilder& U8(uint8_t value) {
        bytes_.push_back(value);
        return *this;
    }
    ByteBuilder& U16(uint16_t value) { return Little(value, 2); }
    ByteBuilder& I32(int32_t value) { return Little(static_cast<uint32_t>(value), 4); }
    ByteBuilder& F64(double value) {
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return Little(bits, 8);
    }
    ByteBuilder& R48(double value) {
        for (uint8_t byte : EncodeReal48(value)) bytes_.push_back(byte);
        return *this;
    }
    // `size` bytes: the text, then `fill` up to the end.
    ByteBuilder& Text(const std::string& text, size_t size, uint8_t fill = 0) {
        for (size_t i = 0; i < size; ++i) {
            bytes_.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : fill);
        }
        return *this;
    }
    ByteBuilder& Fill(size_t count, uint8_t value = 0) {
        bytes_.insert(bytes_.end(), count, value);
        return *this;
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    size_t size() const { return bytes_.size(); }

  private:
    ByteBuilder& Little(uint64_t value, int size) {
        for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }

    std::vector<uint8_t> bytes_;
};

// Little-endian values read back out of a file image at an offset.
inline int32_t I32At(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes.at(offset + i);
    return static_cast<int32_t>(value);
}

inline double F64At(const std::vector<uint8_t>& bytes, size_t offset) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | bytes.at(offset + i);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace testing_support
