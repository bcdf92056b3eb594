#include "ui/commondialog.h"
#include "tests/support/fakes.h"

#include <QTest>

using namespace blikon;
using namespace blikon::testing;

class TestCommonDialog : public QObject {
    Q_OBJECT
private slots:
    void packsColoursRedLowestBlueHighest()
    {
        QCOMPARE(packColor(QColor(255, 0, 0)), 255);
        QCOMPARE(packColor(QColor(0, 128, 0)), 0x8000);
        QCOMPARE(packColor(QColor(1, 2, 3)), 1 + 2 * 256 + 3 * 65536);
        QCOMPARE(unpackColor(0x030201), QColor(1, 2, 3));
        QCOMPARE(unpackColor(packColor(QColor(12, 200, 99))), QColor(12, 200, 99));
    }

    void fileDialogsProposeTheNameLastChosenAndCancelKeepsIt()
    {
        FakeDialogs dialogs;
        CommonDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("CommonDialog1"));
        dialogs.fileAnswers = {QStringLiteral("/tmp/a.asm"), std::nullopt, QStringLiteral("/tmp/b")};
        QCOMPARE(dialog.showOpen(nullptr), std::optional<QString>("/tmp/a.asm"));
        QCOMPARE(dialog.showSave(nullptr), std::nullopt);
        QCOMPARE(dialog.fileName(), QStringLiteral("/tmp/a.asm"));
        QCOMPARE(dialog.showSave(nullptr), std::optional<QString>("/tmp/b"));
        QCOMPARE(dialogs.fileRequests.size(), 3);
        QCOMPARE(dialogs.fileRequests[0].proposedName, QString());
        QCOMPARE(dialogs.fileRequests[0].kind, FileDialogRequest::Kind::Open);
        QCOMPARE(dialogs.fileRequests[1].proposedName, QStringLiteral("/tmp/a.asm"));
        QCOMPARE(dialogs.fileRequests[1].kind, FileDialogRequest::Kind::Save);
        QCOMPARE(dialogs.fileRequests[2].proposedName, QStringLiteral("/tmp/a.asm"));
    }

    void colourDialogStartsFromTheColourLastChosen()
    {
        FakeDialogs dialogs;
        CommonDialog dialog;
        dialogs.colorAnswers = {QColor(0, 0, 255), std::nullopt, QColor(10, 20, 30)};
        QCOMPARE(dialog.showColor(nullptr), std::optional<int>(0xFF0000));
        QCOMPARE(dialog.showColor(nullptr), std::nullopt);
        QCOMPARE(dialog.color(), 0xFF0000);
        QCOMPARE(dialog.showColor(nullptr), std::optional<int>(10 + 20 * 256 + 30 * 65536));
        QCOMPARE(dialogs.colorStarts, (QList<QColor>{QColor(0, 0, 0), QColor(0, 0, 255), QColor(0, 0, 255)}));
    }
};

QTEST_MAIN(TestCommonDialog)
#include "test_commondialog.moc"
