#include "support/fake_serial_port.h"

namespace varnet::testing {

void FakeSerialPort::inject(const QByteArray& bytes)
{
    if (open_)
        collect(bytes);
}

bool FakeSerialPort::openDevice()
{
    if (onOpen)
        onOpen(*this);
    if (!openError_.isEmpty())
        return fail(openError_);
    open_ = true;
    return true;
}

bool FakeSerialPort::writeDevice(const QByteArray& data)
{
    if (!writeError_.isEmpty())
        return fail(writeError_);
    writes_.append(data);
    return true;
}

FakeSerialPorts::FakeSerialPorts()
    : previous_(setSerialPortFactory([this] {
          auto port = std::make_unique<FakeSerialPort>();
          port->onOpen = onOpen;
          created_.emplace_back(port.get());
          return std::unique_ptr<SerialPort>(std::move(port));
      }))
{
}

FakeSerialPorts::~FakeSerialPorts()
{
    setSerialPortFactory(std::move(previous_));
}

FakeSerialPort* FakeSerialPorts::port(int number) const
{
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
        if (*it && (*it)->portNumber() == number)
            return *it;
    }
    return nullptr;
}

} // namespace varnet::testing
