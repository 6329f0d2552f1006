#include "platform/DocumentBase.h"

#include <algorithm>

namespace mirado {

void CDocumentBase::SetTitle(const std::string& title) {
    title_ = title;
    if (titleListener_)
        titleListener_(title_);
}

void CDocumentBase::AddView(IView* view) {
    if (view != nullptr && std::find(views_.begin(), views_.end(), view) == views_.end())
        views_.push_back(view);
}

void CDocumentBase::RemoveView(IView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void CDocumentBase::UpdateAllViews(IView* sender) {
    // A view may unregister itself while redrawing; walk a copy.
    const std::vector<IView*> views = views_;
    for (IView* view : views)
        if (view != sender)
            view->OnUpdate(sender);
}

} // namespace mirado
