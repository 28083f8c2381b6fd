// Work in the background answers later, on the GUI thread; by then its owner may have changed
// its mind (new settings, switched off, another host) or be gone. Each job takes a ticket as it
// starts, and its answer asks the ticket before it changes anything, again after every prompt.
#pragma once

#include <memory>

namespace lumivar {

class CJobGuard {
public:
    // Copied and dropped on any thread; asked only on the owner's (the GUI) thread.
    class Ticket {
    public:
        Ticket() = default;  // nobody's: never current
        // The owner is there and has not invalidated this ticket since handing it out.
        bool Current() const {
            const std::shared_ptr<const unsigned> generation = m_owner.lock();
            return generation && *generation == m_generation;
        }
        // The owner is gone: the answer must not touch it at all.
        bool OwnerGone() const { return m_owner.expired(); }

    private:
        friend class CJobGuard;
        Ticket(std::weak_ptr<const unsigned> owner, unsigned generation)
            : m_owner(std::move(owner)), m_generation(generation) {}
        std::weak_ptr<const unsigned> m_owner;
        unsigned m_generation = 0;
    };

    CJobGuard() = default;
    CJobGuard(const CJobGuard&) = delete;
    CJobGuard& operator=(const CJobGuard&) = delete;

    Ticket Issue() const { return {m_generation, *m_generation}; }
    // Every ticket handed out so far goes stale; later ones are current again.
    void Invalidate() { ++*m_generation; }

private:
    // Held weakly by the tickets, so that they see the owner go.
    std::shared_ptr<unsigned> m_generation = std::make_shared<unsigned>(0);
};

}  // namespace lumivar
