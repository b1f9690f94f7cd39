#include "host_range.h"

namespace {

std::optional<int> hostNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    // Digits only: toInt would also take a sign or a leading "+".
    if (trimmed.isEmpty() || trimmed.size() > 3) return std::nullopt;
    for (QChar c : trimmed)
        if (c < u'0' || c > u'9') return std::nullopt;
    const int value = trimmed.toInt();
    if (value > 255) return std::nullopt;
    return value;
}

}  // namespace

QString addressPrefix(const QString& address) {
    const qsizetype dot = address.lastIndexOf(u'.');
    return dot < 0 ? QString() : address.left(dot);
}

std::optional<HostRange> hostRange(const QString& first, const QString& last) {
    const auto from = hostNumber(first);
    const auto to = hostNumber(last);
    if (!from || !to || *from > *to) return std::nullopt;
    return HostRange{*from, *to};
}
