#include "dialogs/QtDocumentDialogs.h"

#include "dialogs/IdDialog.h"
#include "dialogs/ParametersDialog.h"

namespace mirado {

bool QtIdDialog::Run(IdDialogFields& fields) {
    CIdDialog dialog(fields, prompts_, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    fields = dialog.Fields();
    return true;
}

bool QtParametersDialog::Run(CDisplaySettings& settings) {
    CParametersDialog dialog(settings, prompts_, parent_);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace mirado
