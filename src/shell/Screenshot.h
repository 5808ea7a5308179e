// MIREL_SCREENSHOT=path.png: grab a station window once it has loaded and painted, then quit.
#pragma once

class QWidget;

namespace Screenshot {

/// When MIREL_SCREENSHOT is set: prints "painted: <window>" on stdout once the window has been
/// painted the first time, grabs it MIREL_SCREENSHOT_DELAY ms (default 1000) later, writes the
/// picture (PNG, or the format the file's suffix names: .bmp, .jpg), prints its path
/// and quits the application.
void armFromEnvironment(QWidget* window);

} // namespace Screenshot
