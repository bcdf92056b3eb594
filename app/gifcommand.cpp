#include "gifcommand.h"

#include "assembling.h"
#include "codedocument.h"
#include "documentwindow.h"
#include "filecommands.h"
#include "gifrecording.h"
#include "hexcommands.h"
#include "messageboxes.h"
#include "safefilewriter.h"
#include "services.h"

#include <QWidget>

namespace blikon {

namespace {

void tellEffectWasCut(QWidget* parent)
{
    MessageRequest request;
    request.text = QStringLiteral("Efekt má víc než %1 snímků; GIF jich obsahuje jen prvních %1.")
                       .arg(groupedNumber(qint64(mcs51::EffectRecorder::kMostImages)));
    request.icon = MessageRequest::Icon::Information;
    Services::messageBoxes().show(parent, request);
}

// Called from the recording's last slice, whose guard reports a failure.
void saveGif(QWidget* parent, const QString& path, const QByteArray& gif, bool cut)
{
    if (const std::optional<QString> error = writeFileSafely(path, gif))
        showFileError(parent, *error);
    else if (cut)
        tellEffectWasCut(parent);
}

}  // namespace

void saveGifAnimation(DocumentWindow& window)
{
    const std::optional<ProgramBuild> build = buildWindowProgram(window, BoardSettings::load());
    if (!build)
        return;
    const std::optional<QString> name =
        chooseFileToSave(window.widget(), FileDialogRequest::Content::Gif,
                         madeFileNameFor(window.document()->titleFileName(), QStringLiteral(".gif"),
                                         QStringLiteral("animace.gif")));
    if (!name)
        return;
    auto recorder = std::make_unique<mcs51::EffectRecorder>(build->program->firmware, build->board.chip->ramBytes,
                                                            build->board.machineCyclesPerSecond(),
                                                            build->program->loopFrames);
    auto* recording = new GifRecording(std::move(recorder), BoardColors::ofLampWindows(), window.widget());
    QWidget* parent = window.widget();
    QObject::connect(recording, &GifRecording::finished, parent,
                     [parent, path = *name](const QByteArray& gif, bool cut) { saveGif(parent, path, gif, cut); });
    recording->start();
}

}  // namespace blikon
