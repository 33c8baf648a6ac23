// Ordered list of plain records that owns its items. Items live on the heap,
// so a reference returned by Add() or Item() stays valid while other items
// are added or deleted.
#pragma once

#include <QString>

#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace qiantai {

template <class T> class ItemCollection {
public:
    ItemCollection() = default;
    ItemCollection(ItemCollection&&) noexcept = default;
    ItemCollection& operator=(ItemCollection&&) noexcept = default;

    // Appends a default item and returns it.
    T& Add()
    {
        items_.push_back(std::make_unique<T>());
        return *items_.back();
    }
    int Count() const { return int(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }

    // Item at a 0-based index; throws std::out_of_range outside 0..Count()-1.
    T& Item(int index) { return *items_[checked(index)]; }
    const T& Item(int index) const { return *items_[checked(index)]; }
    T& operator[](int index) { return Item(index); }
    const T& operator[](int index) const { return Item(index); }

    // Removes the item at `index`; throws std::out_of_range like Item().
    void Delete(int index) { items_.erase(items_.begin() + checked(index)); }
    void Clear() { items_.clear(); }

    template <class Ptr, class Ref> class Iterator {
    public:
        explicit Iterator(Ptr p) : p_(p) {}
        Ref operator*() const { return **p_; }
        std::remove_reference_t<Ref>* operator->() const { return p_->get(); }
        Iterator& operator++()
        {
            ++p_;
            return *this;
        }
        bool operator!=(const Iterator& o) const { return p_ != o.p_; }
        bool operator==(const Iterator& o) const { return p_ == o.p_; }

    private:
        Ptr p_;
    };
    using Items = std::vector<std::unique_ptr<T>>;
    using iterator = Iterator<typename Items::iterator, T&>;
    using const_iterator = Iterator<typename Items::const_iterator, const T&>;

    iterator begin() { return iterator(items_.begin()); }
    iterator end() { return iterator(items_.end()); }
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    std::size_t checked(int index) const
    {
        if (index < 0 || index >= Count())
            throw std::out_of_range(QStringLiteral("List index out of bounds (%1)").arg(index).toStdString());
        return std::size_t(index);
    }

    Items items_;
};

} // namespace qiantai
