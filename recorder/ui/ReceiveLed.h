#pragma once

#include <QWidget>
#include <cstdint>

namespace tavrin {

// The receive LED: a small round shape whose fill colour shows the link.
class ReceiveLed : public QWidget {
    Q_OBJECT

public:
    explicit ReceiveLed(QWidget* parent = nullptr);

    // 0x00BBGGRR; 0 (black) is no link, &HFF00 (green) an aligned stream.
    int32_t FillColor() const { return fillColor_; }
    void setFillColor(int32_t color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t fillColor_ = 0;
};

}  // namespace tavrin
