#include "drawing/SelectedFilesPage.h"

#include "document/MiradoDoc.h"
#include "drawing/CurrentFilePage.h"
#include "drawing/PageStyles.h"
#include "platform/UserPrompts.h"

namespace mirado {

int CSelectedFilesPage::PageCount() const {
    return doc_.CountSelected();
}

void CSelectedFilesPage::Draw(IDrawingSurface& surface, const Rect& drawingRect,
                              int pageNumber) const {
    const int index = doc_.IndexOfNthSelected(pageNumber);
    if (index < 0) {
        prompts_.ShowMessage(kPrintSelectionError, kApplicationTitle, MessageIcon::Warning,
                             MessageButtons::Ok);
        return;
    }
    if (makeCurrent_)
        makeCurrent_(index);
    const PrintedRecording recording = ReadPrintedRecording(doc_);
    if (!recording.drawable)
        return;
    DrawRecordingPage(surface, drawingRect, recording, SelectedFilesPageStyle(),
                      FormatPageHeading(SelectedFilesTitle(), recording.sense), prompts_);
}

} // namespace mirado
