#include "reference_book_pickers.h"

#include "refbooks/tfrm_knp.h"
#include "refbooks/tfrm_nomenkl.h"
#include "refbooks/tfrm_org.h"
#include "refbooks/tfrm_osnovanie.h"

namespace {

template <class Window, class Mode>
bool runPicker(const RefbookContext &context, QWidget *parent, Mode mode)
{
    Window window(context, parent, mode);
    context.runDialog(window);
    return window.chosen();
}

} // namespace

DocumentPickers referenceBookPickers(const RefbookContext &context)
{
    return {[context](QWidget *parent, ClientPick mode) {
                return runPicker<TfrmOrg>(context, parent, mode);
            },
            [context](QWidget *parent) {
                return runPicker<TfrmOsnovanie>(context, parent, ListPick::IntoDocument);
            },
            [context](QWidget *parent) {
                return runPicker<TfrmKNP>(context, parent, ListPick::IntoDocument);
            },
            [context](QWidget *parent, GoodsPick mode) {
                return runPicker<TfrmNomenkl>(context, parent, mode);
            }};
}
