#pragma once
// Serial ports under the names the device tools use: "COM<n>" for n in 1..256.
//
// COM numbers map onto the machine's serial devices in fixed blocks of 64:
//   COM1..COM64    -> /dev/ttyS0..63
//   COM65..COM128  -> /dev/ttyUSB0..63
//   COM129..COM192 -> /dev/ttyACM0..63
//   COM193..COM256 -> /dev/ttyAMA0..63
#include <QString>
#include <functional>

constexpr int Com_Port_Candidates = 256;

// Opened: free.  AccessDenied: present but held by another program.  NotPermitted: the
// user may not open the device (no rights on it).  Failed: nothing usable there.
enum class TComProbe { Opened, AccessDenied, NotPermitted, Failed };

QString Com_Port_Device(int n);
// Opens the port exclusively for reading and writing and closes it again.
TComProbe Probe_Com_Port(int n);
// The same probe of a device node by its path.
TComProbe Probe_Com_Device(const QString& path);

// Tests replace the probe; an empty function restores the real one.
using ComPortProbe = std::function<TComProbe(int)>;
ComPortProbe Set_Com_Port_Probe(ComPortProbe probe);
