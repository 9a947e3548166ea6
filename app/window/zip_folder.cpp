// SPDX-License-Identifier: GPL-3.0-or-later
#include "zip_folder.h"

#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdint>

namespace korvane {

namespace {

// An archive bigger than this is no exercise; reading it whole stays cheap.
constexpr qint64 kMaxArchiveBytes = 64 << 20;
// All entries together: a thousand files of 1 MB would still fill a disk.
constexpr qint64 kMaxTotalBytes = 16 << 20;

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr int kEndSize = 22;
constexpr int kCentralSize = 46;
constexpr int kLocalSize = 30;
constexpr int kMadeOnUnix = 3;
constexpr uint32_t kFileTypeMask = 0170000;
constexpr uint32_t kLinkType = 0120000;

struct Bytes {
    const QByteArray& data;
    bool has(qint64 at, qint64 n) const { return at >= 0 && n >= 0 && at <= data.size() - n; }
    uint32_t u16(qint64 at) const
    {
        const auto* p = reinterpret_cast<const uint8_t*>(data.constData() + at);
        return p[0] | p[1] << 8;
    }
    uint32_t u32(qint64 at) const { return u16(at) | u16(at + 2) << 16; }
};

struct Entry {
    QString name;
    uint32_t method, flags, crc, packed, size, madeOn, attributes, local;
};

// The end record sits in the last 64 KB (its comment is at most that long).
qint64 findEnd(const Bytes& b)
{
    for (qint64 at = b.data.size() - kEndSize; at >= 0 && at >= b.data.size() - kEndSize - 0xffff; --at)
        if (b.u32(at) == kEndSignature)
            return at;
    return -1;
}

// A name may hold only plain steps down from the folder.
bool staysInside(const QString& name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.startsWith(u'\\') ||
        (name.size() > 1 && name[1] == u':'))
        return false;
    for (const QString& step : QString(name).replace(u'\\', u'/').split(u'/'))
        if (step == QStringLiteral(".."))
            return false;
    return true;
}

bool isLink(const Entry& e)
{
    return e.madeOn == kMadeOnUnix && ((e.attributes >> 16) & kFileTypeMask) == kLinkType;
}

// The entry's bytes, inflated into exactly its stated size and checked.
bool entryData(const Bytes& b, const Entry& e, QByteArray& out)
{
    if (!b.has(e.local, kLocalSize) || b.u32(e.local) != kLocalSignature)
        return false;
    const qint64 start = e.local + kLocalSize + b.u16(e.local + 26) + b.u16(e.local + 28);
    if (!b.has(start, e.packed))
        return false;
    const auto* packed = reinterpret_cast<const Bytef*>(b.data.constData() + start);
    out = QByteArray(static_cast<qsizetype>(e.size), Qt::Uninitialized);
    if (e.method == 0) {
        if (e.packed != e.size)
            return false;
        std::copy(packed, packed + e.size, out.data());
    } else {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return false;
        z.next_in = const_cast<Bytef*>(packed);
        z.avail_in = e.packed;
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = e.size;
        const int status = inflate(&z, Z_FINISH);
        const bool whole = status == Z_STREAM_END && z.total_out == e.size;
        inflateEnd(&z);
        if (!whole)
            return false;
    }
    const auto* bytes = reinterpret_cast<const Bytef*>(out.constData());
    return crc32(crc32(0, nullptr, 0), bytes, e.size) == e.crc;
}

// Why the entry cannot be unpacked; empty when it can.
QString refusal(const Entry& e)
{
    if (!staysInside(e.name))
        return QStringLiteral("points outside the folder");
    if (isLink(e))
        return QStringLiteral("is a link");
    if (e.size > kMaxEntryBytes)
        return QStringLiteral("is larger than 1 MB");
    if ((e.flags & 1) != 0 || (e.method != 0 && e.method != Z_DEFLATED))
        return QStringLiteral("is encrypted or packed in a way Korvane cannot read");
    return {};
}

bool unpack(const Bytes& b, const Entry& e, const QDir& into, QString& why)
{
    const QString target = into.filePath(e.name);
    QByteArray data;
    if (e.name.endsWith(u'/')) {
        if (!into.mkpath(e.name))
            why = QStringLiteral("cannot be created");
        return why.isEmpty();
    }
    if (!entryData(b, e, data)) {
        why = QStringLiteral("is damaged");
        return false;
    }
    QFile file(target);
    if (!into.mkpath(QFileInfo(e.name).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(data) != data.size()) {
        why = QStringLiteral("cannot be created");
        return false;
    }
    return true;
}

}  // namespace

bool unzip_folder(const QString& zip, const QString& into, QString& error)
{
    const QString archive = QDir::toNativeSeparators(zip);
    QFile file(zip);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxArchiveBytes) {
        error = file.isOpen() ? QStringLiteral("%1 is too large for an exercise").arg(archive)
                              : QStringLiteral("Cannot open file %1").arg(archive);
        return false;
    }
    const QByteArray data = file.readAll();
    const Bytes b{data};
    const qint64 end = findEnd(b);
    const QString damaged = QStringLiteral("%1 is not a zip archive or is damaged").arg(archive);
    if (end < 0) {
        error = damaged;
        return false;
    }
    const uint32_t count = b.u16(end + 10);
    qint64 at = b.u32(end + 16);
    qint64 total = 0;
    const QDir folder(into);
    for (uint32_t i = 0; i < count; ++i) {
        if (!b.has(at, kCentralSize) || b.u32(at) != kCentralSignature) {
            error = damaged;
            return false;
        }
        const uint32_t nameSize = b.u16(at + 28);
        if (!b.has(at + kCentralSize, nameSize)) {
            error = damaged;
            return false;
        }
        const Entry e{QString::fromUtf8(data.constData() + at + kCentralSize, nameSize),
                      b.u16(at + 10), b.u16(at + 8), b.u32(at + 16), b.u32(at + 20),
                      b.u32(at + 24), b.u16(at + 4) >> 8, b.u32(at + 38), b.u32(at + 42)};
        at += kCentralSize + nameSize + b.u16(at + 30) + b.u16(at + 32);
        QString why = refusal(e);
        total += e.size;
        if (why.isEmpty() && total > kMaxTotalBytes)
            why = QStringLiteral("makes the archive larger than 16 MB unpacked");
        if (!why.isEmpty() || !unpack(b, e, folder, why)) {
            error = QStringLiteral("%1: \"%2\" %3").arg(archive, e.name, why);
            return false;
        }
    }
    return true;
}

}  // namespace korvane
