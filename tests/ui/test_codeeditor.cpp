#include "codeeditor.h"

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

    // Setting the text replaces only what differs from the text shown, as one step of
    // the editor's undo (none when nothing differs).
    void settingTheTextReplacesOnlyWhatDiffers_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QList<qsizetype>>("span");
        const QString a64(64, QLatin1Char('a'));
        const QString a100(100, QLatin1Char('a'));
        const QString b100(100, QLatin1Char('b'));
        QTest::newRow("equal") << "abc" << "abc" << QList<qsizetype>{3, 3, 3, 3};
        QTest::newRow("insertion") << "abcd" << "abXYcd" << QList<qsizetype>{2, 2, 2, 4};
        QTest::newRow("deletion") << "abXYcd" << "abcd" << QList<qsizetype>{2, 4, 2, 2};
        QTest::newRow("replacement") << "abXcd" << "abYYcd" << QList<qsizetype>{2, 3, 2, 4};
        QTest::newRow("repeated characters") << "aaa" << "aaaa" << QList<qsizetype>{3, 3, 3, 4};
        QTest::newRow("from empty") << "" << "abc" << QList<qsizetype>{0, 0, 0, 3};
        QTest::newRow("to empty") << "abc" << "" << QList<qsizetype>{0, 3, 0, 0};
        QTest::newRow("all different") << "abc" << "xyz" << QList<qsizetype>{0, 3, 0, 3};
        QTest::newRow("line breaks of any kind") << QStringLiteral("a\u2029b\u2028c") << "a\nb\nc"
                                                 << QList<qsizetype>{5, 5, 5, 5};
        QTest::newRow("at a run's end") << a64 + "X" << a64 + "Y" << QList<qsizetype>{64, 65, 64, 65};
        QTest::newRow("past a run") << a100 + "X" + b100 << a100 + "YZ" + b100 << QList<qsizetype>{100, 101, 100, 102};
        QTest::newRow("pair's first half the same")
            << QStringLiteral("a\U0001F4A1") << QStringLiteral("a\U0001F4A2") << QList<qsizetype>{1, 3, 1, 3};
        QTest::newRow("pair's second half the same")
            << QStringLiteral("x\U0001F4A1") << QStringLiteral("x\U0001F0A1") << QList<qsizetype>{1, 3, 1, 3};
    }
    void settingTheTextReplacesOnlyWhatDiffers()
    {
        QFETCH(QString, shown);
        QFETCH(QString, wanted);
        QFETCH(QList<qsizetype>, span);
        QCOMPARE(differingSpan(shown, wanted), (TextSpan{span[0], span[1], span[2], span[3]}));

        const auto crLf = [](QString text) {
            return text.replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'))
                .replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        };
        CodeEditor editor;
        editor.setCodeText(crLf(shown));
        editor.document()->clearUndoRedoStacks();
        editor.setCodeText(crLf(wanted));
        QCOMPARE(editor.codeText(), crLf(wanted));
        QCOMPARE(editor.document()->isUndoAvailable(), span[0] != span[1] || span[2] != span[3]);
        editor.undo();
        QCOMPARE(editor.codeText(), crLf(shown));
        QVERIFY(!editor.document()->isUndoAvailable());
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
