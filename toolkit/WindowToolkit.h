// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The operations that the window's logic (listing, extraction, preview) needs from the window
// toolkit, one small interface per part of the window (list, preview, frame row, status bar,
// dialogs, jobs, the window around them); WindowToolkit is all of them, and knows where the
// user's events go (WindowEvents). The Qt window implements them in app/; HeadlessToolkit records them for tests. Texts
// are UTF-8 unless a parameter says it takes entry bytes (Windows-1250, shown up to the first NUL
// byte).

#include "toolkit/Dialogs.h"
#include "toolkit/ExternalPrograms.h"
#include "toolkit/Jobs.h"
#include "toolkit/ListWidgets.h"
#include "toolkit/PreviewWidgets.h"
#include "toolkit/StatusWidgets.h"
#include "toolkit/WindowEvents.h"
#include "toolkit/WindowShell.h"

namespace brasvel {

class WindowToolkit : public ListWidgets,
                      public PreviewWidgets,
                      public FrameRowWidgets,
                      public StatusWidgets,
                      public Dialogs,
                      public JobRunner,
                      public WindowShell,
                      public ExternalPrograms {
public:
    // Where the user's events go (the window's logic); none: nowhere.
    void setEvents(WindowEvents* events) { events_ = events; }
    WindowEvents* events() const { return events_; }

private:
    WindowEvents* events_ = nullptr;
};

}  // namespace brasvel
