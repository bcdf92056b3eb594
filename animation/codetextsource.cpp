#include "codetextsource.h"

#include "ui/codeeditor.h"
#include "ui/codewindow.h"

#include <QTextDocument>

#include <stdexcept>

namespace blikon {

CodeTextSource::CodeTextSource(CodeWindow& window, QObject* parent)
    : QObject(parent)
    , window_(&window)
    , open_(window.widget())
{
    connect(window.editor()->document(), &QTextDocument::contentsChanged, this, [this] { stale_ = true; });
}

const std::string& CodeTextSource::text()
{
    CodeWindow& source = window();
    if (stale_) {
        text_ = source.editor()->codeText().toStdString();
        stale_ = false;
    }
    return text_;
}

CodeWindow& CodeTextSource::window() const
{
    if (!open_)
        throw std::runtime_error("the played main window has been closed");
    return *window_;
}

}  // namespace blikon
