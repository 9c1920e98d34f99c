#pragma once

#include <cstddef>
#include <span>
#include <vector>

// Rows of any length kept end to end in one vector: a million recorded rows
// cost their items and one offset each, not an allocation each.
template <typename T> class PackedRows {
public:
    std::size_t size() const { return ends_.size(); }

    std::span<const T> operator[](std::size_t row) const
    {
        const std::size_t begin = row == 0 ? 0 : ends_[row - 1];
        return {items_.data() + begin, ends_[row] - begin};
    }

    std::span<const T> back() const { return (*this)[size() - 1]; }

    // A new last row, empty until items are added to it.
    void addRow() { ends_.push_back(items_.size()); }
    void addToLastRow(const T& item)
    {
        items_.push_back(item);
        ++ends_.back();
    }
    template <typename Items> void addRow(const Items& items)
    {
        items_.insert(items_.end(), items.begin(), items.end());
        ends_.push_back(items_.size());
    }

private:
    std::vector<T> items_;
    std::vector<std::size_t> ends_; // where each row ends in items_
};
