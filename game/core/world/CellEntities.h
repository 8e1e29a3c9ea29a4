#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

class Entity;

// The entities standing in one cell, in list order, past the places left
// empty by those that left (a cell's list holds such gaps until the grid
// closes them). The walk reads the list afresh at every step, by place and
// not by a pointer into it, so it stays valid while the list changes under
// it: an actor dying in the walk may register debris (met later in the same
// walk) or leave cells (its place is passed over).
class CellEntities {
public:
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Entity*;
        using difference_type = std::ptrdiff_t;
        using pointer = Entity* const*;
        using reference = Entity*;

        Iterator() = default;
        Iterator(const std::vector<Entity*>* list, std::size_t place) : list_(list), place_(place) { SkipGaps(); }

        Entity* operator*() const { return (*list_)[place_]; }
        Iterator& operator++()
        {
            ++place_;
            SkipGaps();
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator was = *this;
            ++*this;
            return was;
        }
        // Every walk that has run past the list's current end equals the end.
        friend bool operator==(const Iterator& a, const Iterator& b)
        {
            return a.Done() ? b.Done() : !b.Done() && a.place_ == b.place_;
        }
        friend bool operator!=(const Iterator& a, const Iterator& b) { return !(a == b); }

        // The entity's place in the cell's list (see Sector::EntityAt).
        std::size_t Place() const { return place_; }

    private:
        bool Done() const { return list_ == nullptr || place_ >= list_->size(); }
        void SkipGaps()
        {
            while (!Done() && (*list_)[place_] == nullptr)
                ++place_;
        }

        const std::vector<Entity*>* list_ = nullptr;
        std::size_t place_ = 0;
    };

    CellEntities(const std::vector<Entity*>& list, std::size_t from) : list_(&list), from_(from) {}

    Iterator begin() const { return Iterator(list_, from_); }
    Iterator end() const { return Iterator(list_, static_cast<std::size_t>(-1)); }

private:
    const std::vector<Entity*>* list_;
    std::size_t from_;
};
