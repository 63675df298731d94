#pragma once

#include "core/device/BeamMask.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace lcdiag {

// One row of a record layout: where a field stands and, for a redundant copy, the field whose
// one's complement (every byte XOR 255) it holds.
template <typename Field> struct FieldPlace {
    Field field;
    int offset;
    int size;
    std::optional<Field> complementOf = std::nullopt;
};

// Specialised once per record type with `Size` and the `Fields` table, one row per field in
// the order of the Field enumeration.
template <typename Field> struct RecordLayout;

// Whether a layout table names every field once, in enumeration order, and covers the record
// without gap or overlap; a complement field has the size of the field it belongs to.
template <typename Field, std::size_t N>
constexpr bool CoversRecord(const std::array<FieldPlace<Field>, N>& fields, std::size_t size) {
    int next = 0;
    for (std::size_t i = 0; i < N; ++i) {
        const FieldPlace<Field>& place = fields[i];
        if (static_cast<std::size_t>(place.field) != i || place.offset != next || place.size <= 0) {
            return false;
        }
        if (place.complementOf &&
            fields[static_cast<std::size_t>(*place.complementOf)].size != place.size) {
            return false;
        }
        next += place.size;
    }
    return static_cast<std::size_t>(next) == size;
}

// A record the controllers send or accept, held as its bytes (big-endian numbers, texts in the
// PC's 8-bit character set padded with NUL) with named access through its layout table.
template <typename Field> struct Record {
    static constexpr std::size_t Size = RecordLayout<Field>::Size;
    static_assert(CoversRecord(RecordLayout<Field>::Fields, Size));

    std::array<std::uint8_t, Size> bytes{};

    static constexpr FieldPlace<Field> Place(Field field) {
        return RecordLayout<Field>::Fields[static_cast<std::size_t>(field)];
    }

    // The record held in the first bytes of a block; missing bytes stay 0.
    static Record From(std::span<const std::uint8_t> block) {
        Record record;
        std::copy_n(block.begin(), std::min(block.size(), Size), record.bytes.begin());
        return record;
    }

    std::span<std::uint8_t> Bytes(Field field) {
        const FieldPlace<Field> place = Place(field);
        return std::span(bytes).subspan(Unsigned(place.offset), Unsigned(place.size));
    }
    std::span<const std::uint8_t> Bytes(Field field) const {
        const FieldPlace<Field> place = Place(field);
        return std::span(bytes).subspan(Unsigned(place.offset), Unsigned(place.size));
    }

    std::uint8_t Byte(Field field) const { return Bytes(field).front(); }
    void SetByte(Field field, std::uint8_t value) { Bytes(field).front() = value; }

    // The field's bytes as one big-endian number (the low 32 bits of a longer field).
    std::uint32_t Number(Field field) const {
        std::uint32_t value = 0;
        for (std::uint8_t byte : Bytes(field)) {
            value = value << 8 | byte;
        }
        return value;
    }
    // Stores the low bytes of the value big-endian over the whole field.
    void SetNumber(Field field, std::uint32_t value) {
        std::span<std::uint8_t> target = Bytes(field);
        for (auto byte = target.rbegin(); byte != target.rend(); ++byte) {
            *byte = static_cast<std::uint8_t>(value & 0xFF);
            value >>= 8;
        }
    }

    // The field's text: only bytes of 32 and above are kept.
    std::string Text(Field field) const {
        std::string text;
        for (std::uint8_t byte : Bytes(field)) {
            if (byte >= 32) {
                text.push_back(static_cast<char>(byte));
            }
        }
        return text;
    }
    // Copies the text, cut to the field's width, and pads the rest with NUL bytes.
    void SetText(Field field, std::string_view text) {
        std::span<std::uint8_t> target = Bytes(field);
        for (std::size_t i = 0; i < target.size(); ++i) {
            target[i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
        }
    }

    BeamMask Mask(Field field) const { return BeamMask::From(Bytes(field)); }
    void SetMask(Field field, const BeamMask& mask) {
        std::span<std::uint8_t> target = Bytes(field);
        std::copy_n(mask.bytes.begin(), std::min(target.size(), mask.bytes.size()), target.begin());
    }

    // Writes into a complement field the complement of the field it belongs to; a field
    // without that role is left alone.
    void WriteComplement(Field complement) {
        const std::optional<Field> source = Place(complement).complementOf;
        if (!source) {
            return;
        }
        std::span<std::uint8_t> target = Bytes(complement);
        std::span<const std::uint8_t> original = std::as_const(*this).Bytes(*source);
        for (std::size_t i = 0; i < target.size(); ++i) {
            target[i] = static_cast<std::uint8_t>(original[i] ^ 0xFF);
        }
    }
    // Writes every complement field of the record.
    void WriteComplements() {
        for (const FieldPlace<Field>& place : RecordLayout<Field>::Fields) {
            WriteComplement(place.field);
        }
    }
    // Whether a redundant copy agrees with the field it belongs to (a value counts only then).
    bool ComplementMatches(Field complement) const {
        const std::optional<Field> source = Place(complement).complementOf;
        if (!source) {
            return false;
        }
        std::span<const std::uint8_t> copy = Bytes(complement);
        std::span<const std::uint8_t> original = Bytes(*source);
        for (std::size_t i = 0; i < copy.size(); ++i) {
            if ((copy[i] ^ 0xFF) != original[i]) {
                return false;
            }
        }
        return true;
    }

    friend bool operator==(const Record&, const Record&) = default;

private:
    static constexpr std::size_t Unsigned(int value) { return static_cast<std::size_t>(value); }
};

} // namespace lcdiag
