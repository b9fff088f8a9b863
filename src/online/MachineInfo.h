#pragma once

#include <QString>

// What the update check tells the server about the machine.
struct MachineInfo
{
    QString os;      // "Debian GNU/Linux 12 (bookworm) (Version 6.1, Build 0, 64-bit Edition)"
    QString locale;  // "tr-TR", or "xx" when unknown
    QString guid;    // the machine id, empty when unreadable
};

// Reads /etc/os-release, the kernel version, the system locale and /etc/machine-id.
MachineInfo ReadMachineInfo();

// "<name> (Version <major>.<minor>, Build <build>, 32-bit Edition|64-bit Edition)".
QString FormatOsDescription(const QString& name, int major, int minor, int build, bool is64Bit);
// PRETTY_NAME of an os-release text (quotes removed), else NAME, else "Linux".
QString OsPrettyName(const QString& osReleaseText);
// The first three numbers of a kernel version such as "6.1.0-18-amd64"; missing ones are 0.
void ParseKernelVersion(const QString& version, int& major, int& minor, int& build);
// "tr_TR" -> "tr-TR"; "xx" for the C locale or an empty name.
QString LocaleTag(const QString& localeName);
