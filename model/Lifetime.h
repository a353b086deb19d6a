#pragma once
// Lets a call that runs pending events tell afterwards whether an object it goes on with
// still exists: take Watch() before the events run and test expired() after them.

#include <memory>

class LifeToken final {
public:
    LifeToken() = default;
    // A copy belongs to another object and so has a life of its own.
    LifeToken(const LifeToken&) : LifeToken() {}
    // Assigning keeps this object's own token: there is nothing to copy, and so nothing
    // that assigning to itself could lose.
    // NOLINTNEXTLINE(bugprone-unhandled-self-assignment)
    LifeToken& operator=(const LifeToken&) { return *this; }

    std::weak_ptr<const void> Watch() const { return Token; }

private:
    std::shared_ptr<const char> Token = std::make_shared<const char>('\0');
};
