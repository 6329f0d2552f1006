#pragma once
// CDocumentBase: the document half of the document/view arrangement. It keeps the title
// and the views registered with it, and tells every view to redraw when the document
// changes. The panes implement IView; the document never knows them.

#include <functional>
#include <string>
#include <vector>

namespace mirado {

// What a view is told when its document changed. The GUI maps it onto a repaint.
class IView {
public:
    virtual ~IView() = default;
    // sender is the view that caused the change, or null when the document itself did.
    virtual void OnUpdate(IView* sender) = 0;
};

class CDocumentBase {
public:
    virtual ~CDocumentBase() = default;

    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title);

    void AddView(IView* view);
    void RemoveView(IView* view);
    // Tells every registered view except sender that the document changed.
    void UpdateAllViews(IView* sender = nullptr);

    // Called with the new title whenever it changes (the frame's caption follows it).
    using TitleListener = std::function<void(const std::string& title)>;
    void SetTitleListener(TitleListener listener) { titleListener_ = std::move(listener); }

private:
    std::string title_;
    std::vector<IView*> views_;
    TitleListener titleListener_;
};

} // namespace mirado
