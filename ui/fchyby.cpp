#include "fchyby.h"

#include "codeeditor.h"
#include "fonts.h"
#include "handlerguard.h"
#include "pictures.h"
#include "windowplacement.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace blikon {

namespace {

const QString kName = QStringLiteral("FChyby");
constexpr int kLineRole = Qt::UserRole;

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

struct Problem {
    int line;
    const std::string* message;
    bool warning;
};

// Errors and warnings in the order of their lines; at one line the error first.
std::vector<Problem> problemsByLine(const mcs51::Assembly& assembly)
{
    std::vector<Problem> problems;
    for (const mcs51::AssemblyError& error : assembly.errors)
        problems.push_back({error.line, &error.message, false});
    for (const mcs51::AssemblyError& warning : assembly.warnings)
        problems.push_back({warning.line, &warning.message, true});
    std::ranges::stable_sort(problems, {}, &Problem::line);
    return problems;
}

QString summaryOf(const mcs51::Assembly& assembly)
{
    const QString errors = (assembly.moreErrors ? QStringLiteral("přes ") : QString()) + errorCount(qint64(assembly.errors.size()));
    const QString warnings = warningCount(qint64(assembly.warnings.size()));
    if (assembly.warnings.empty())
        return QStringLiteral("Překlad našel %1. Klepnutím na chybu přejdete na její řádek.").arg(errors);
    if (assembly.ok())
        return QStringLiteral("Program se přeložil, překlad ale hlásí %1. Klepnutím na upozornění přejdete na jeho řádek.")
            .arg(warnings);
    return QStringLiteral("Překlad našel %1 a %2. Klepnutím na položku přejdete na její řádek.").arg(errors, warnings);
}

}  // namespace

QString errorCount(qint64 count)
{
    const QString number = QString::number(count);
    if (count == 1)
        return number + QStringLiteral(" chybu");
    if (count >= 2 && count <= 4)
        return number + QStringLiteral(" chyby");
    return number + QStringLiteral(" chyb");
}

QString warningCount(qint64 count) { return QString::number(count) + QStringLiteral(" upozornění"); }

FChyby::FChyby(QWidget* owner, CodeEditor* editor)
    : QDialog(owner, Qt::Tool)
    , editor_(editor)
{
    setObjectName(kName);
    setWindowTitle(QStringLiteral("Chyby překladu"));
    setWindowIcon(pictures::programIcon());
    setModal(false);

    summaryLabel_ = new QLabel(this);
    summaryLabel_->setObjectName(QStringLiteral("Label1"));
    summaryLabel_->setTextFormat(Qt::PlainText);
    summaryLabel_->setWordWrap(true);

    errorList_ = new QListWidget(this);
    errorList_->setObjectName(QStringLiteral("List1"));
    errorList_->setFont(tahomaFont());
    // A message after End runs longer than the window is wide; wrapped, it is read whole.
    errorList_->setWordWrap(true);
    errorList_->setResizeMode(QListView::Adjust);
    errorList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(errorList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { goToError(item, false); });
    connect(errorList_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { goToError(item, true); });

    auto* close = new QPushButton(QStringLiteral("&Zavřít"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summaryLabel_);
    layout->addWidget(errorList_, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(460, 260);
}

FChyby* FChyby::of(QWidget* owner, CodeEditor* editor)
{
    if (auto* existing = owner->findChild<FChyby*>(kName, Qt::FindDirectChildrenOnly))
        return existing;
    auto* list = new FChyby(owner, editor);
    // Beside the main window rather than over its editor, as far as the screen allows.
    moveBeside(*list, *owner);
    return list;
}

void FChyby::closeFor(QWidget* owner)
{
    if (auto* existing = owner->findChild<FChyby*>(kName, Qt::FindDirectChildrenOnly))
        existing->close();
}

void FChyby::showProblems(const mcs51::Assembly& assembly)
{
    summaryLabel_->setText(summaryOf(assembly));
    errorList_->clear();
    for (const Problem& problem : problemsByLine(assembly)) {
        const QString text = problem.warning ? QStringLiteral("Řádek %1 (upozornění): %2") : QStringLiteral("Řádek %1: %2");
        auto* item = new QListWidgetItem(text.arg(problem.line).arg(fromUtf8(*problem.message)));
        item->setIcon(style()->standardIcon(problem.warning ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxCritical));
        item->setData(kLineRole, problem.line);
        errorList_->addItem(item);
    }
    if (assembly.moreErrors)
        errorList_->addItem(QStringLiteral("Další chyby se nevypisují."));
    errorList_->setCurrentRow(0);
    show();
    raise();
    activateWindow();
}

bool FChyby::event(QEvent* event)
{
    // A tool window shares its owner's shortcuts, and Esc there is Konec: here it closes
    // only the list.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
        event->accept();
        return true;
    }
    return QDialog::event(event);
}

void FChyby::goToError(QListWidgetItem* item, bool focusEditor)
{
    HandlerGuard::run(this, "List1_Click", OnFailure::Silent, [&] {
        const QVariant line = item->data(kLineRole);
        if (!line.isValid() || !editor_)
            return;
        editor_->goToLine(line.toInt() - 1);
        if (focusEditor) {
            editor_->window()->activateWindow();
            editor_->setFocus(Qt::OtherFocusReason);
        }
    });
}

}  // namespace blikon
