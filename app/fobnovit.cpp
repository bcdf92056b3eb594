#include "fobnovit.h"

#include "frameedit.h"
#include "pictures.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace blikon {

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 300;

}  // namespace

QString firstCodeLine(const QString& text)
{
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const QString simplified = line.toString().simplified();
        if (!simplified.isEmpty())
            return simplified;
    }
    return {};
}

FObnovit::FObnovit(std::vector<KeptText> texts, QWidget* parent)
    : QDialog(parent)
    , texts_(std::move(texts))
{
    setObjectName(QStringLiteral("FObnovit"));
    setWindowTitle(QStringLiteral("Obnovit zavřený kód"));
    setWindowIcon(pictures::programIcon());
    resize(kWidth, kHeight);

    auto* caption = new QLabel(this);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->setText(texts_.empty() ? QStringLiteral("Žádný zavřený kód není uložen.")
                                    : QStringLiteral("Kód oken zavřených bez uložení, nejnovější nahoře:"));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({QStringLiteral("Uloženo"), QStringLiteral("Soubor"), QStringLiteral("Snímky"),
                            QStringLiteral("První řádek kódu")});
    connect(list_, &QTreeWidget::itemActivated, this, &QDialog::accept);

    openButton_ = new QPushButton(QStringLiteral("&Otevřít"), this);
    openButton_->setObjectName(QStringLiteral("Command1"));
    openButton_->setDefault(true);
    openButton_->setEnabled(!texts_.empty());
    connect(openButton_, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancelButton = new QPushButton(QStringLiteral("Zrušit"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(openButton_);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    fillList();
}

void FObnovit::fillList()
{
    for (const KeptText& kept : texts_) {
        const QString frames = QString::number(listFrames(kept.text.toStdString()).size());
        auto* row = new QTreeWidgetItem(list_, {kept.time.toLocalTime().toString(QStringLiteral("d. M. yyyy H:mm:ss")),
                                                QFileInfo(kept.fileName).fileName(), frames,
                                                firstCodeLine(kept.text)});
        row->setToolTip(1, kept.fileName);
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column = 0; column < 3; ++column)
        list_->resizeColumnToContents(column);
    if (!texts_.empty())
        list_->setCurrentItem(list_->topLevelItem(0));
    list_->setFocus();
}

const KeptText* FObnovit::chosen() const
{
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return result() == QDialog::Accepted && row >= 0 ? &texts_[static_cast<std::size_t>(row)] : nullptr;
}

}  // namespace blikon
