#include "text/Cp932.h"

#include <memory>
#include <unicode/ucnv.h>

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// One converter per call: ICU shares the mapping tables between converters, so opening
// one costs little, and no converter state outlives the call.
Converter openConverter() {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-31j", &status));
    if (U_FAILURE(status) || !converter)
        return nullptr;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    if (U_FAILURE(status))
        return nullptr;
    return converter;
}

// ICU's table for this code page carries a rotation of three control codes (bytes 1A, 1C
// and 7F read as U+001C, U+007F and U+001A) that Windows does not make: every byte below
// 80 is its own character there. These undo and redo the rotation around ICU.
void unrotateControls(UChar* begin, UChar* end) {
    for (UChar* c = begin; c != end; ++c) {
        if (*c == 0x1C)
            *c = 0x1A;
        else if (*c == 0x7F)
            *c = 0x1C;
        else if (*c == 0x1A)
            *c = 0x7F;
    }
}

char16_t rotatedControl(char16_t c) {
    switch (c) {
    case 0x1A:
        return 0x1C;
    case 0x1C:
        return 0x7F;
    case 0x7F:
        return 0x1A;
    default:
        return c;
    }
}

bool isAscii(QByteArrayView bytes) {
    for (char byte : bytes)
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    return true;
}

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

QString hexBytes(QByteArrayView bytes) {
    QString hex;
    for (char byte : bytes) {
        if (!hex.isEmpty())
            hex += u' ';
        hex +=
            QString::number(static_cast<unsigned char>(byte), 16).rightJustified(2, u'0').toUpper();
    }
    return hex;
}

Cp932Error locate(QByteArrayView bytes, qsizetype offset, qsizetype badLength, bool truncated) {
    Cp932Error error;
    error.byteOffset = offset;
    error.line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < offset; ++i) {
        // 0x0A is never a trail byte in CP932, so every one of them ends a line.
        if (bytes[i] == '\n') {
            ++error.line;
            lineStart = i + 1;
        }
    }
    error.column = static_cast<int>(offset - lineStart + 1);
    // A lone lead byte is shown with the byte that could not follow it.
    qsizetype shown = badLength;
    if (!truncated && shown == 1 && offset + 1 < bytes.size() &&
        isLeadByte(static_cast<unsigned char>(bytes[offset])))
        shown = 2;
    const QString hex = hexBytes(bytes.sliced(offset, shown));
    if (truncated)
        error.description = QStringLiteral("%1 行 %2 バイト目は 2 バイト文字の 1 バイト目（%3）"
                                           "で、その後にデータがありません。")
                                .arg(error.line)
                                .arg(error.column)
                                .arg(hex);
    else
        error.description =
            QStringLiteral("%1 行 %2 バイト目は CP932（Shift_JIS）の文字として読めないバイト"
                           "（%3）です。")
                .arg(error.line)
                .arg(error.column)
                .arg(hex);
    return error;
}

// Characters that other Japanese encodings and input methods produce for what CP932
// holds under another code point: they are written as the CP932 character that looks
// the same rather than refused (a teacher typing ～ on another system gets U+301C).
char16_t cp932Equivalent(char16_t c) {
    switch (c) {
    case 0x301C:
        return 0xFF5E; // WAVE DASH -> FULLWIDTH TILDE (81 60)
    case 0x2212:
        return 0xFF0D; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS (81 7C)
    case 0x2016:
        return 0x2225; // DOUBLE VERTICAL LINE -> PARALLEL TO (81 61)
    case 0x2014:
        return 0x2015; // EM DASH -> HORIZONTAL BAR (81 5C)
    case 0x00A2:
        return 0xFFE0; // CENT SIGN (81 91)
    case 0x00A3:
        return 0xFFE1; // POUND SIGN (81 92)
    case 0x00AC:
        return 0xFFE2; // NOT SIGN (81 CA)
    case 0x00A5:
        return 0x005C; // YEN SIGN -> the byte 5C that Japanese fonts show as a yen sign
    default:
        return c;
    }
}

// What ICU must be given for c: its CP932 equivalent, with the control rotation applied.
char16_t forConverter(char16_t c) {
    return rotatedControl(cp932Equivalent(c));
}

QString preparedForConverter(QStringView text) {
    QString mapped = text.toString();
    for (QChar& c : mapped)
        c = QChar(forConverter(c.unicode()));
    return mapped;
}

bool needsPreparing(QStringView text) {
    for (QChar c : text)
        if (forConverter(c.unicode()) != c.unicode())
            return true;
    return false;
}

} // namespace

std::optional<QString> decodeCp932(QByteArrayView bytes, Cp932Error* error) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes); // bytes below 80 are themselves
    Converter converter = openConverter();
    if (!converter) {
        if (error) {
            *error = Cp932Error{};
            error->description = QStringLiteral("CP932 の変換器を用意できません。");
        }
        return std::nullopt;
    }
    // Every CP932 byte sequence gives at most one UTF-16 unit per byte.
    QString out(bytes.size(), Qt::Uninitialized);
    auto* targetStart = reinterpret_cast<UChar*>(out.data());
    UChar* target = targetStart;
    const char* source = bytes.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &target, targetStart + out.size(), &source,
                   bytes.data() + bytes.size(), nullptr, true, &status);
    if (U_FAILURE(status)) {
        char invalid[8];
        int8_t invalidLength = sizeof invalid;
        UErrorCode ignored = U_ZERO_ERROR;
        ucnv_getInvalidChars(converter.get(), invalid, &invalidLength, &ignored);
        if (U_FAILURE(ignored) || invalidLength < 1)
            invalidLength = 1;
        const qsizetype offset = (source - bytes.data()) - invalidLength;
        if (error)
            *error = locate(bytes, offset, invalidLength, status == U_TRUNCATED_CHAR_FOUND);
        return std::nullopt;
    }
    unrotateControls(targetStart, target);
    out.truncate(target - targetStart);
    return out;
}

QString decodeCp932Field(QByteArrayView bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes); // the usual school code: no converter needed
    Converter converter = openConverter();
    if (!converter)
        return QString(bytes.size(), QChar(0xFFFD));
    QString out(bytes.size(), Qt::Uninitialized);
    auto* targetStart = reinterpret_cast<UChar*>(out.data());
    UChar* target = targetStart;
    UChar* const targetLimit = targetStart + out.size();
    const char* source = bytes.data();
    const char* const sourceLimit = bytes.data() + bytes.size();
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        ucnv_toUnicode(converter.get(), &target, targetLimit, &source, sourceLimit, nullptr, true,
                       &status);
        if (status == U_TRUNCATED_CHAR_FOUND || U_SUCCESS(status))
            break; // done; a lead byte left dangling at the end of the field is dropped
        // Each bad sequence is at least one byte, so the replacement always fits.
        if (target < targetLimit)
            *target++ = 0xFFFD;
    }
    unrotateControls(targetStart, target);
    out.truncate(target - targetStart);
    return out;
}

std::optional<QByteArray> encodeCp932(QStringView text, qsizetype* badIndex) {
    if (text.isEmpty())
        return QByteArray();
    QString mapped;
    if (needsPreparing(text)) {
        mapped = preparedForConverter(text);
        text = mapped;
    }
    Converter converter = openConverter();
    if (!converter) {
        if (badIndex)
            *badIndex = 0;
        return std::nullopt;
    }
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char* targetStart = out.data();
    char* target = targetStart;
    const auto* sourceStart = reinterpret_cast<const UChar*>(text.utf16());
    const UChar* source = sourceStart;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(converter.get(), &target, targetStart + out.size(), &source,
                     sourceStart + text.size(), nullptr, true, &status);
    if (U_FAILURE(status)) {
        UChar invalid[8];
        int8_t invalidLength = 8;
        UErrorCode ignored = U_ZERO_ERROR;
        ucnv_getInvalidUChars(converter.get(), invalid, &invalidLength, &ignored);
        if (U_FAILURE(ignored) || invalidLength < 1)
            invalidLength = 1;
        if (badIndex)
            *badIndex = (source - sourceStart) - invalidLength;
        return std::nullopt;
    }
    out.truncate(target - targetStart);
    return out;
}

std::optional<QByteArray> encodeCp932Field(QStringView text, int width) {
    std::optional<QByteArray> bytes = encodeCp932(text);
    if (!bytes)
        return std::nullopt;
    if (width <= 0)
        return QByteArray();
    if (bytes->size() > width)
        bytes->truncate(width);
    else
        bytes->append(width - bytes->size(), ' ');
    return bytes;
}
