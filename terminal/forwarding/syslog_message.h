// Lines as RFC 5424 syslog messages, for forwarding to a collector:
//   <PRI>1 TIMESTAMP HOSTNAME vornak-terminal PROCID MSGID SD MSG
// PRI: facility user (1), the facility of ordinary programs' messages (as logger uses), which
// leaves local0-local7 to the site; severity by class: error 3, statistic and log 6, debug,
// separator and ods 7, clear 5, the notice of lines dropped on the way 4. MSGID: the class label.
// SD: "-", but for an ods line the program that wrote it (PROCID is the terminal's own):
// [writer@32473 pid="1234" name="name.exe"], the name left out when unknown and cut as a text is
// past MaxWriterNameBytes, so that the header stays within every message limit. 32473 is the
// enterprise number RFC 5612 sets aside for examples; no number of our own is registered.
// TIMESTAMP: local time with milliseconds and offset (the nil value "-" when unknown or past the
// year 9999). MSG: the text as UTF-8 without a byte order mark: RFC 5424 lets MSG be any octets
// without one, and collectors keep a BOM as part of the text (rsyslog 8 puts it at the start of
// %msg%); only a text that itself starts with U+FEFF gets one, or a strict reader would take its
// first character for the mark.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

#include "arrival_time.h"
#include "received_line.h"
#include "syslog_destination.h"

constexpr const char* SyslogAppName = "vornak-terminal";
constexpr int SyslogFacility = 1;
constexpr const char* SyslogWriterId = "writer@32473";
constexpr size_t MaxWriterNameBytes = 128;
constexpr int SyslogDroppedSeverity = 4;
// A datagram's size when nothing else is said: what RFC 5426 says receivers should accept.
constexpr size_t DefaultUdpMessageLimit = 2048;
// What marks a message cut short, as the library marks lines too long for an atom.
constexpr const char* CutMark = "...";

// Who sends the messages.
struct SyslogOrigin {
    std::string hostName;  // as SyslogHostName makes it
    unsigned long processId = 0;
};

// name as a HOSTNAME field may carry it: printable ASCII only (others left out), at most 255
// characters, "-" when nothing is left.
std::string SyslogHostName(std::string_view name);

// This machine's fully qualified name, else its host name, else its NetBIOS name, as
// SyslogHostName makes it.
std::string LocalSyslogHostName();

int SyslogSeverity(LineClass lineClass);

// One message for line, with nothing around it. limit (0: none) is the most bytes the message may
// have: a longer one keeps the start of its text and ends in "...", never inside a UTF-8
// character. codePage 0: the system's ANSI code page.
std::string FormatSyslogMessage(const SyslogOrigin& origin, const ReceivedLine& line, size_t limit = 0,
                                unsigned codePage = 0);

// The message that says how many lines were dropped on the way to the collector.
std::string FormatSyslogDroppedNotice(const SyslogOrigin& origin, const ArrivalTime& at, uint64_t droppedCount,
                                      size_t limit = 0);

// A message framed for TCP by octet counting (RFC 6587): its length in bytes, a space, itself.
std::string FrameForTcp(std::string_view message);

// utf8 cut to at most limit bytes: when longer, its start and "...", never inside a character.
std::string CutUtf8(std::string_view utf8, size_t limit);
