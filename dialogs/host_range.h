// The range of host numbers that IP Setup walks for several cameras: the last
// part of the addresses, after the prefix of the selected camera's address.
#pragma once

#include <QString>

#include <optional>

struct HostRange {
    int first = 1;
    int last = 255;
};

// The first three parts of an address text, up to its last dot; empty when it has none.
QString addressPrefix(const QString& address);

// The range typed into the two host-number edits; nothing unless both are
// whole numbers from 0 to 255 and the first is not above the last.
std::optional<HostRange> hostRange(const QString& first, const QString& last);
