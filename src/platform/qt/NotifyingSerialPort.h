#pragma once

#include "platform/ISerialPort.h"

#include <functional>
#include <utility>

namespace addrix {

// A serial port that tells, on the thread that owns it, when data arrive.
class NotifyingSerialPort : public ISerialPort {
public:
    // Called whenever more data have arrived; bytes it leaves unread get no
    // call of their own.
    void setDataReceivedHandler(std::function<void()> handler) { m_onData = std::move(handler); }

protected:
    void notifyDataReceived() const {
        if (m_onData)
            m_onData();
    }

private:
    std::function<void()> m_onData;
};

} // namespace addrix
