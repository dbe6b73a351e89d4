#include "records/PrintPreview.h"

namespace {
std::function<void()>& previewRefresh()
{
    static std::function<void()> refresh;
    return refresh;
}
} // namespace

void SetPrintPreviewRefresh(std::function<void()> refresh) { previewRefresh() = std::move(refresh); }

void RefreshPrintPreview()
{
    if (previewRefresh()) previewRefresh()();
}
