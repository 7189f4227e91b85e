#include "result/WaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// Byte by byte rather than through qFromLittleEndian: the callers have checked
// the bounds, and GCC's bounds warning cannot see that through the memcpy.
quint32 byteAt(const QByteArray& bytes, qsizetype at) {
    return static_cast<quint8>(bytes.at(at));
}

quint16 le16(const QByteArray& bytes, qsizetype at) {
    return static_cast<quint16>(byteAt(bytes, at) | byteAt(bytes, at + 1) << 8);
}

quint32 le32(const QByteArray& bytes, qsizetype at) {
    return le16(bytes, at) | static_cast<quint32>(le16(bytes, at + 2)) << 16;
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

WaveCheck failed(const QString& text) {
    WaveCheck check;
    check.error = text;
    return check;
}

} // namespace

WaveCheck checkWave(const QByteArray& bytes, const QString& path) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        return failed(
            QStringLiteral("音声ファイル「%1」は WAVE 形式ではありません。").arg(shown(path)));
    }
    WaveCheck check;
    bool haveFormat = false;
    qint64 byteRate = 0;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 declared = le32(bytes, at + 4);
        const qsizetype body = at + 8;
        const qint64 available = bytes.size() - body;
        if (id == "fmt ") {
            if (declared < 16 || available < 16) {
                return failed(QStringLiteral("音声ファイル「%1」の形式情報（fmt）が壊れています。")
                                  .arg(shown(path)));
            }
            check.formatTag = le16(bytes, body);
            check.channels = le16(bytes, body + 2);
            check.sampleRate = static_cast<int>(le32(bytes, body + 4));
            byteRate = le32(bytes, body + 8);
            check.bitsPerSample = le16(bytes, body + 14);
            if (check.channels == 0 || check.sampleRate == 0 || byteRate == 0) {
                return failed(QStringLiteral("音声ファイル「%1」の形式情報（fmt）が壊れています。")
                                  .arg(shown(path)));
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                return failed(
                    QStringLiteral("音声ファイル「%1」の形式情報（fmt）がデータより後にあります。")
                        .arg(shown(path)));
            }
            const qint64 dataBytes = std::min(declared, available);
            check.durationMs = dataBytes * 1000 / byteRate;
            check.ok = true;
            return check;
        }
        // Chunks are padded to an even length.
        at = body + declared + (declared & 1);
    }
    if (!haveFormat) {
        return failed(
            QStringLiteral("音声ファイル「%1」に形式情報（fmt）がありません。").arg(shown(path)));
    }
    return failed(
        QStringLiteral("音声ファイル「%1」に音のデータ（data）がありません。").arg(shown(path)));
}

WaveCheck inspectWaveFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return failed(QStringLiteral("音声ファイル「%1」が見つかりません。").arg(shown(path)));
    }
    if (QFileInfo(path).isDir()) {
        return failed(
            QStringLiteral("「%1」はフォルダーで、音声ファイルではありません。").arg(shown(path)));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return failed(QStringLiteral("音声ファイル「%1」を読めません（%2）。")
                          .arg(shown(path), file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    file.close();
    return checkWave(bytes, path);
}
