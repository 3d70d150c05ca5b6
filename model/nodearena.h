#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

class Zovnode;

// Bump storage for the nodes, child arrays and attribute arrays of one tree: no allocation of
// its own per node and no per-allocation overhead. Memory is returned only when the arena goes;
// objects placed here are destroyed by their owners with an explicit destructor call, never
// deleted. One thread at a time allocates from an arena.
class Nodearena {
public:
    Nodearena() = default;
    // Destroys the kept strings and shared nodes; everything else was destroyed by its owner.
    ~Nodearena();
    Nodearena(const Nodearena&) = delete;
    Nodearena& operator=(const Nodearena&) = delete;

    // Room for size bytes aligned to align (a power of two up to alignof(max_align_t)); throws
    // std::bad_alloc like operator new when no memory is left.
    void* allocate(std::size_t size, std::size_t align)
    {
        std::size_t offset = (m_used + align - 1) & ~(align - 1);
        if (offset + size > m_capacity) {
            grow(size + align);
            offset = (m_used + align - 1) & ~(align - 1);
        }
        m_used = offset + size;
        return m_block + offset;
    }

    template <typename T, typename... Args> T* create(Args&&... args)
    {
        return new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }

    // Copies of count strings that stay until the arena goes, for an array that many nodes
    // share and none owns; throws std::bad_alloc like allocate.
    const QString* keepStrings(const QString* strings, int count);

    // Room to keep one more shared node; throws std::bad_alloc like allocate.
    void reserveShared()
    {
        if (m_shared.size() == m_shared.capacity())
            m_shared.reserve(2 * m_shared.size() + 16);
    }
    // Destroys node with the arena (see Zovnode::sharedInArena); needs reserveShared first.
    void keepShared(Zovnode* node) { m_shared.push_back(node); }

    // Bytes taken from the system so far.
    std::size_t reserved() const { return m_reserved; }

private:
    void grow(std::size_t atLeast);

    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::vector<std::pair<QString*, int>> m_kept;
    std::vector<Zovnode*> m_shared;
    char* m_block = nullptr;
    std::size_t m_used = 0;
    std::size_t m_capacity = 0;
    std::size_t m_reserved = 0;
};
