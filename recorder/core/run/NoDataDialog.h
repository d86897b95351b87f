#pragma once

namespace tavrin {

// The "no data" warning the link watchdog shows, modal.
class NoDataDialog {
public:
    enum class Choice { Ok, Setup, Exit };

    virtual ~NoDataDialog() = default;
    // Closing it without a button counts as Exit, its cancel button.
    virtual Choice showModal() = 0;
};

}  // namespace tavrin
