#pragma once

namespace tavrin {

// The hourglass mouse pointer of long operations.
class BusyCursor {
public:
    virtual ~BusyCursor() = default;
    virtual void setBusy(bool busy) = 0;

    // Hourglass for a scope; the default pointer comes back on every path.
    class Scope {
    public:
        explicit Scope(BusyCursor& cursor) : cursor_(cursor) { cursor_.setBusy(true); }
        ~Scope() { cursor_.setBusy(false); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        BusyCursor& cursor_;
    };
};

}  // namespace tavrin
