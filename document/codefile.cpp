#include "codefile.h"

#include "core/codefiletext.h"
#include "core/rtfreader.h"
#include "safefilewriter.h"

#include <QFile>
#include <QStringDecoder>

#include <string_view>

namespace blikon {

namespace {

std::string_view view(const QByteArray& bytes) { return {bytes.constData(), static_cast<std::size_t>(bytes.size())}; }

// QString::fromUtf8 would drop a leading U+FEFF; here the mark is gone already, and a
// U+FEFF left at the start is a character of the text.
QString fromUtf8(const std::string& text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

QString codeTextFromFileBytes(const QByteArray& bytes)
{
    if (isRtf(view(bytes)))
        return fromUtf8(readRtf(view(bytes)).text);
    return fromUtf8(decodeCodeFile(view(bytes)).text);
}

QByteArray fileBytesFromCodeText(QByteArray utf8CodeText)
{
    utf8CodeText.append("\r\n");
    static const AnsiEncoder ansi = systemAnsiEncoder();
    if (!ansi && !utf8CodeText.startsWith("\xEF\xBB\xBF"))
        return utf8CodeText;  // the system code page is UTF-8
    const std::string bytes = encodeCodeFile(view(utf8CodeText), ansi);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

CodeFileRead readCodeFile(const QString& path)
{
    if (isDeviceOrPipe(path))
        return {std::nullopt, deviceOrPipeDescription()};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, file.errorString()};
    return {codeTextFromFileBytes(bytes), QString()};
}

FileBox::FileBox(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("Box1"));
}

}  // namespace blikon
