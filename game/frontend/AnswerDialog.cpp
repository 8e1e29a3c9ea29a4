#include "AnswerDialog.h"

#include "ResourceTables.h"

void AnswerDialog::ClosingAction()
{
    // The parent lies below on the stack, so it outlives this dialog.
    if (parent != nullptr)
        parent->OnChildResult(selected == 1 ? resultCode : 0);
}

void AnswerDialog::AnswerClick()
{
    if (!Clicked())
        return;
    PlaySound(SampleId::UI3);
    Close();
}
