#include "reference_book_pickers.h"

#include "refbooks/tfrm_knp.h"
#include "refbooks/tfrm_nomenkl.h"
#include "refbooks/tfrm_org.h"
#include "refbooks/tfrm_osnovanie.h"

namespace {

template <class Window> std::function<void(QWidget *)> opener(const RefbookContext &context)
{
    return [context](QWidget *parent) {
        Window window(context, parent);
        context.runDialog(window);
    };
}

} // namespace

DocumentPickers referenceBookPickers(const RefbookContext &context)
{
    return {opener<TfrmOrg>(context), opener<TfrmOsnovanie>(context), opener<TfrmKNP>(context),
            opener<TfrmNomenkl>(context)};
}
