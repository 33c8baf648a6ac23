// The module's one exported entry point and the events it exchanges with the
// host's windows.
#pragma once

#include <QEvent>

#include <cstdint>

#include "qiantai/coordisp.h"

class QWidget;

namespace qiantai {

// Sent by the host to the sales screen: PanelMain takes this height and width.
constexpr QEvent::Type PanelResizeEventType = QEvent::Type(1026);
// Sent synchronously by the sales screen to the host control when it closes.
constexpr QEvent::Type ScreenClosedEventType = QEvent::Type(1028);

class PanelResizeEvent : public QEvent {
public:
    PanelResizeEvent(int height, int width) : QEvent(PanelResizeEventType), height_(height), width_(width) {}
    int height() const { return height_; }
    int width() const { return width_; }

private:
    int height_;
    int width_;
};

// Both parameters are 0, as the host expects.
class ScreenClosedEvent : public QEvent {
public:
    ScreenClosedEvent() : QEvent(ScreenClosedEventType) {}
    int wParam() const { return 0; }
    int lParam() const { return 0; }
};

} // namespace qiantai

// Opens the sales screen. `operatorShortString` is a length byte followed by
// up to 255 bytes of GBK text; `ignored` has no effect. Returns once the
// first document has its number or the cashier has left the module.
extern "C" void GetFormOne(QWidget* hostApp, QWidget* hostControl, const unsigned char* operatorShortString,
                           int32_t ignored, qiantai::ICoorDisp* host);
using GetFormOneFn = void (*)(QWidget*, QWidget*, const unsigned char*, int32_t, qiantai::ICoorDisp*);
