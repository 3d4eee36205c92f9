#pragma once

#include "galder/GalderExportJob.h"
#include "platform/ISerialPort.h"
#include "platform/TextFile.h"

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Fakes of the services the wizard window reaches; header-only, so that both
// the GoogleTest and the QtTest programs can use them.
namespace addrix::test {

// A machine's serial ports: each port number answers open() as configured
// (ports not named do not exist). Records every open and counts opens made
// while a port was still open.
class FakePortBank final : public ISerialPort {
public:
    std::map<int, SerialOpenResult::Status> ports;
    std::vector<int> opened;
    int doubleOpens = 0;
    bool throwOnClose = false;

    SerialOpenResult open(int portNumber) override {
        opened.push_back(portNumber);
        doubleOpens += m_open ? 1 : 0;
        SerialOpenResult result;
        const auto it = ports.find(portNumber);
        result.status = it == ports.end() ? SerialOpenResult::Status::NoSuchPort : it->second;
        m_open = result.ok();
        return result;
    }
    void close() override {
        if (throwOnClose)
            throw std::runtime_error("close failed");
        m_open = false;
    }
    bool isOpen() const override { return m_open; }
    bool write(const std::string&) override { return m_open; }
    std::string readAll() override { return {}; }

private:
    bool m_open = false;
};

// A download that writes `contacts` lines and returns `result` (the number
// of lines unless set); `during` runs while the download "shows".
class FakeGalderDownloadWindow final : public IGalderDownloadWindow {
public:
    std::vector<std::string> contacts;
    std::optional<RecordCount> result;
    std::function<void()> during;
    std::vector<std::pair<int, int>> calls; // port number, e-mail column

    RecordCount runDownload(ILineSink& file, std::int16_t portNumber,
                            std::int16_t emailOption) override {
        calls.emplace_back(portNumber, emailOption);
        if (during)
            during();
        for (const std::string& line : contacts)
            file.writeLine(line);
        return result ? *result : static_cast<RecordCount>(contacts.size());
    }
};

} // namespace addrix::test
