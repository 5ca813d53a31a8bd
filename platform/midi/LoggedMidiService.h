#pragma once
#include <QFile>
#include <QString>

#include <memory>

#include "platform/midi/MidiService.h"

namespace platform::midi {

// Passes everything to another service and writes every message sent, as
// it is sent, to a text file: "<steady-clock microseconds> <packed, hex>
// <device>" a line.  For checking from outside what a program sent.
class LoggedMidiService : public MidiService {
public:
    // `inner` must outlive this service.  isOpen() tells whether the log file could be made.
    LoggedMidiService(MidiService& inner, const QString& logPath);

    bool isOpen() const { return log_.isOpen(); }

    int deviceCount() override { return inner_.deviceCount(); }
    std::string productName(int device) override { return inner_.productName(device); }
    std::unique_ptr<MidiPort> open(int device, int& result) override;

private:
    friend class LoggedPort;
    void write(std::uint32_t packed, int device);

    MidiService& inner_;
    QFile log_;
};

} // namespace platform::midi
