#include "codetextsource.h"

#include "codeeditor.h"
#include "fblikon.h"

#include <QTextDocument>

#include <stdexcept>

namespace blikon {

CodeTextSource::CodeTextSource(FBlikon& window, QObject* parent)
    : QObject(parent)
    , window_(&window)
{
    connect(window.editor()->document(), &QTextDocument::contentsChanged, this, [this] { stale_ = true; });
}

const std::string& CodeTextSource::text()
{
    FBlikon& source = window();
    if (stale_) {
        text_ = source.codeText().toStdString();
        stale_ = false;
    }
    return text_;
}

FBlikon& CodeTextSource::window() const
{
    if (!window_)
        throw std::runtime_error("the played main window has been closed");
    return *window_;
}

}  // namespace blikon
