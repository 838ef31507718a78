#include "preview_window.h"
#include "window_entry.h"

void velvix_open_preview(QWidget* owner, const QString& folder, const QString& preferred)
{
    velvix::ui::PreviewWindow::Open(owner, folder, preferred);
}
