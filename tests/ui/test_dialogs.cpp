#include "ui/dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace blikon;

namespace {

// Runs `inside` on the file dialog once it is open; it must close the dialog.
std::optional<QString> chooseFileWhile(const FileDialogRequest& request, std::function<void(QFileDialog&)> inside)
{
    QTimer::singleShot(0, [inside = std::move(inside)] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QApplication::activeModalWidget()->close();
            return;
        }
        inside(*dialog);
    });
    QtDialogs dialogs;
    return dialogs.chooseFile(nullptr, request);
}

QComboBox* filterList(QFileDialog& dialog) { return dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")); }

// The names the dialog lists in its current folder.
QStringList listedNames(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    QStringList names;
    if (!view)
        return names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    names.sort();
    return names;
}

void chooseFilter(QFileDialog& dialog, int index)
{
    QComboBox* filters = filterList(dialog);
    filters->setCurrentIndex(index);
    emit filters->activated(index);
}

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    static void touch(const QString& path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        for (const char* name : {"a.txt", "b.asm", "noext"})
            touch(dir_.filePath(QLatin1String(name)));
    }

    void filterListShowsTheExactDescriptionsAndMatchingFiles()
    {
        QStringList descriptions;
        QList<QStringList> listed;
        const QList<QStringList> expected{{"a.txt"}, {"b.asm"}, {"a.txt", "b.asm", "noext"}};
        FileDialogRequest request;
        request.proposedName = dir_.filePath(QStringLiteral("a.txt"));
        const auto chosen = chooseFileWhile(request, [&](QFileDialog& dialog) {
            for (int i = 0; i < filterList(dialog)->count(); ++i) {
                descriptions << filterList(dialog)->itemText(i);
                chooseFilter(dialog, i);
                // The list follows a new filter some time later, and until then shows
                // the last filter's files (under Wine on a busy machine, for seconds):
                // wait for this filter's files, not just for any; the comparison at the
                // end says what was listed when the wait gave up.
                (void)QTest::qWaitFor([&] { return listedNames(dialog) == expected.value(i); }, 60'000);
                listed << listedNames(dialog);
            }
            dialog.reject();
        });
        QCOMPARE(chosen, std::nullopt);
        QCOMPARE(descriptions, (QStringList{QStringLiteral("Textový soubor (*.txt) "), QStringLiteral("Asembler (*.asm) "),
                                            QStringLiteral("Všechny soubory (*.*)")}));
        QCOMPARE(listed, expected);
    }

    void typedNameIsReturnedAsTypedWithoutQuestions_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("typed");
        QTest::newRow("save without extension") << true << "program";
        QTest::newRow("save over an existing file") << true << "b.asm";
        QTest::newRow("open a file that does not exist") << false << "missing.asm";
    }
    void typedNameIsReturnedAsTypedWithoutQuestions()
    {
        QFETCH(bool, save);
        QFETCH(QString, typed);
        FileDialogRequest request;
        request.kind = save ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open;
        request.proposedName = dir_.filePath(QStringLiteral("a.txt"));
        bool questioned = false;
        const auto chosen = chooseFileWhile(request, [&](QFileDialog& dialog) {
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QTRY_VERIFY(dialog.isActiveWindow());
            name->setFocus();
            name->selectAll();
            QTest::keyClicks(name, typed);
            // A question about overwriting would be a modal box of its own.
            QTimer::singleShot(200, &dialog, [&questioned, &dialog] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    questioned = true;
                    box->reject();
                    dialog.reject();
                }
            });
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        QVERIFY(!questioned);
        QCOMPARE(chosen, std::optional<QString>(dir_.filePath(typed)));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
