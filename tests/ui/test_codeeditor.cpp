#include "ui/codeeditor.h"

#include <QTest>
#include <QTextDocument>

using namespace blikon;

namespace {

// The UTF-8 a save must write for a code text read as UTF-16.
QByteArray expectedUtf8(const CodeEditor& editor) { return editor.codeText().toUtf8(); }

}  // namespace

class TestCodeEditor : public QObject {
    Q_OBJECT

private slots:
    // What saving writes is the code text, byte for byte, however the editor holds it.
    void utf8TextIsTheCodeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("one line") << QStringLiteral("           mov R2,#0FFh");
        QTest::newRow("line ends") << QStringLiteral("a\r\nb\nc\rd\r\n\r\n");
        QTest::newRow("Czech") << QStringLiteral("; Světelné efekty: žluťoučký kůň\r\nčč");
        QTest::newRow("beyond the BMP") << QStringLiteral("\U0001F4A1 x \U0001F4A1\r\n");
        QTest::newRow("byte order mark") << QStringLiteral("\uFEFFStart:");
        QTest::newRow("non-breaking space") << QStringLiteral("a\u00A0b");
        QString longText;
        for (int i = 0; i < 3 * kMaxLoadedBlocks + 5; ++i)
            longText += QStringLiteral("           mov R%1,#0%2h ; č\r\n").arg(i % 5 + 2).arg(i % 256, 2, 16, QLatin1Char('0'));
        QTest::newRow("lines grouped into blocks") << longText;
    }
    void utf8TextIsTheCodeText()
    {
        QFETCH(QString, text);
        CodeEditor editor;
        editor.setCodeText(text);
        QCOMPARE(editor.codeTextUtf8(), expectedUtf8(editor));
        editor.appendCodeText(QStringLiteral("\r\nKonec č"));
        editor.prependCodeText(QStringLiteral("Začátek\r\n"));
        QCOMPARE(editor.codeTextUtf8(), expectedUtf8(editor));
    }

    // A lone surrogate (pasted from a broken source) cannot be written as UTF-8: it
    // becomes U+FFFD, so the file still opens as UTF-8 and not as Windows-1250.
    void loneSurrogatesBecomeReplacementCharacters()
    {
        const char16_t units[] = {u'a', 0xD83D, u'b', 0xDCA1, 0xD83D};
        QByteArray out(3 * std::size(units), '\0');
        const char* end = writeCodeTextUtf8(out.data(), QStringView(units, std::size(units)));
        QCOMPARE(QByteArray(out.data(), end - out.data()), QByteArray("a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD"));
    }

    // The editor's line and paragraph separators are the code text's line ends.
    void separatorsBecomeCrLf()
    {
        const QString text = QStringLiteral("\u2028a\u2029\u2028");
        QByteArray out(3 * text.size(), '\0');
        const char* end = writeCodeTextUtf8(out.data(), text);
        QCOMPARE(QByteArray(out.data(), end - out.data()), QByteArray("\r\na\r\n\r\n"));
    }
};

QTEST_MAIN(TestCodeEditor)
#include "test_codeeditor.moc"
