#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "comm/SensorSearch.h"
#include "comm/Serialcom.h"
#include "platform/ComPortMap.h"
#include "platform/PortDescription.h"
#include "platform/PortListing.h"

namespace app {

using PortEntry = platform::PortEntry;

inline constexpr uint8_t NoChoice = 255;

struct PortScan {
    std::vector<PortEntry> entries;  // what the list offers
    std::vector<PortEntry> denied;   // devices that exist but this account may not open
};

// The demo port, then every port from 1 to 100 that the prober can open.
PortScan AvailablePorts(TSerialCom& prober, const platform::ComPortMap& ports);

// How the list shows an entry: "Demo" or "COM n".
QString EntryText(const PortEntry& entry);

// Whether the last failed open or probe failed for lack of permission.
bool PermissionDenied(const TSerialCom& port);

// Whether the last failed open or probe failed because another program holds the device.
bool InUseElsewhere(const TSerialCom& port);

// What the user can do about devices that exist but may not be opened; empty
// when there are none or the language has no texts.
QString PermissionAdvice(const std::vector<PortEntry>& denied, uint8_t uiLanguage);
// What the user can do about a port that another program holds; empty when
// the language has no texts.
QString InUseAdvice(const PortEntry& port, uint8_t uiLanguage);

// The tool tip of a port: its device path, then what the system knows of it
// (stable name, vendor, product and USB ids, serial number, driver), one per line.
QString PortToolTip(const PortEntry& entry, const platform::PortDescription& described,
                    uint8_t uiLanguage);

// What the port map remembers for a chosen port: its stable name where it has
// one, so that the same adapter is found again under another device name.
std::string RememberedPath(const platform::PortDescription& described);

// Whether the text is a network address: rfc2217://HOST:PORT or socket://HOST:PORT.
bool IsNetworkAddress(const QString& text);

// The line the port dialog shows for a port where a sensor answered; empty otherwise.
QString SearchResultLine(const search::PortOutcome& outcome, uint8_t uiLanguage);

// The port an entry stands for: 0 for "Demo", the number after "COM " otherwise,
// 255 when that is not a number.
uint8_t ChoiceFromEntry(const QString& entry);

}  // namespace app
