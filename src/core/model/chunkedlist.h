#pragma once
// A list that grows in chunks: an item, once added, never moves, so a long load never
// copies the records it already holds, and the memory grows by one chunk at a time. The first
// chunks are small and double up to ChunkSize, so a short list (a short log) takes little
// memory, and a long one is still held in chunks of ChunkSize.
#include <bit>
#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace brenvik {

template <class T, std::size_t ChunkSize = 512, std::size_t FirstChunk = 16>
class TChunkedList {
    static_assert(FirstChunk > 0 && ChunkSize % FirstChunk == 0 && std::has_single_bit(ChunkSize / FirstChunk),
                  "the small chunks double from FirstChunk up to ChunkSize");

    template <bool Const>
    class Iter {
        using List = std::conditional_t<Const, const TChunkedList, TChunkedList>;

    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = std::conditional_t<Const, const T*, T*>;
        using reference = std::conditional_t<Const, const T&, T&>;

        Iter() = default;
        Iter(List* l, std::size_t i) : l_(l), i_(i) {}
        reference operator*() const { return (*l_)[i_]; }
        pointer operator->() const { return &(*l_)[i_]; }
        Iter& operator++() {
            ++i_;
            return *this;
        }
        Iter operator++(int) {
            Iter t = *this;
            ++i_;
            return t;
        }
        bool operator==(const Iter& o) const { return i_ == o.i_; }

    private:
        List* l_ = nullptr;
        std::size_t i_ = 0;
    };

public:
    using iterator = Iter<false>;
    using const_iterator = Iter<true>;

    void push_back(T&& v) {
        if (chunks_.empty() || chunks_.back().size() == ChunkCapacity(chunks_.size() - 1)) {
            const std::size_t capacity = ChunkCapacity(chunks_.size());  // before the new chunk counts
            chunks_.emplace_back().reserve(capacity);
        }
        chunks_.back().push_back(std::move(v));
        ++size_;
    }
    void clear() {
        chunks_.clear();
        size_ = 0;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    // Unchecked, as for a vector.
    T& operator[](std::size_t i) {
        const Place p = Locate(i);
        return chunks_[p.chunk][p.item];
    }
    const T& operator[](std::size_t i) const {
        const Place p = Locate(i);
        return chunks_[p.chunk][p.item];
    }
    // Checked: std::out_of_range past the end.
    T& at(std::size_t i) {
        if (i >= size_) throw std::out_of_range("List index out of bounds");
        return (*this)[i];
    }
    const T& at(std::size_t i) const {
        if (i >= size_) throw std::out_of_range("List index out of bounds");
        return (*this)[i];
    }
    T& front() { return (*this)[0]; }
    const T& front() const { return (*this)[0]; }
    T& back() { return chunks_.back().back(); }
    const T& back() const { return chunks_.back().back(); }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size_}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }

private:
    // The small chunks: FirstChunk, twice that, ... up to half ChunkSize; together they hold
    // SmallItems items, and every chunk after them holds ChunkSize.
    static constexpr std::size_t SmallChunks = std::bit_width(ChunkSize / FirstChunk) - 1;
    static constexpr std::size_t SmallItems = ChunkSize - FirstChunk;

    static constexpr std::size_t ChunkCapacity(std::size_t chunk) {
        return chunk < SmallChunks ? FirstChunk << chunk : ChunkSize;
    }

    struct Place {
        std::size_t chunk;
        std::size_t item;
    };
    static constexpr Place Locate(std::size_t i) {
        if (i >= SmallItems) {
            const std::size_t j = i - SmallItems;
            return {SmallChunks + j / ChunkSize, j % ChunkSize};
        }
        // Small chunk k starts at FirstChunk * (2^k - 1).
        const std::size_t k = std::bit_width(i / FirstChunk + 1) - 1;
        return {k, i - FirstChunk * ((std::size_t{1} << k) - 1)};
    }

    // Each chunk is reserved at its capacity and filled before the next one is added.
    std::vector<std::vector<T>> chunks_;
    std::size_t size_ = 0;
};

}  // namespace brenvik
