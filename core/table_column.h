#pragma once

// A column of a model table. The NEC-2 tables count rows from 1 (row
// 0 is unused or a header) and the code indexes them with the card's own
// signed numbers (tags, segments, steps, int16 counts), so the column takes
// any integer row and converts it in this one place; callers have checked
// the row against the capacity.

#include <array>
#include <concepts>
#include <cstddef>
#include <memory>
#include <vector>

namespace wavra {

template <class T, class Allocator = std::allocator<T>>
class TableColumn : public std::vector<T, Allocator> {
    using Rows = std::vector<T, Allocator>;

public:
    using Rows::Rows;

    template <std::integral Row>
    T& operator[](Row row) {
        return Rows::operator[](static_cast<std::size_t>(row));
    }
    template <std::integral Row>
    const T& operator[](Row row) const {
        return Rows::operator[](static_cast<std::size_t>(row));
    }
};

// The same for the short fixed tables of a card (the three axes of a field
// request, the ends of a transmission line, the five gain columns).
template <class T, std::size_t N>
struct FixedColumn : std::array<T, N> {
    // Takes a plain array of the same rows (a template, so that "= {}"
    // still means the implicit assignment of an empty column).
    template <class Values>
    requires std::same_as<Values, std::array<T, N>> FixedColumn& operator=(const Values& values) {
        std::array<T, N>::operator=(values);
        return *this;
    }
    template <std::integral Row>
    T& operator[](Row row) {
        return std::array<T, N>::operator[](static_cast<std::size_t>(row));
    }
    template <std::integral Row>
    constexpr const T& operator[](Row row) const {
        return std::array<T, N>::operator[](static_cast<std::size_t>(row));
    }
};

} // namespace wavra
