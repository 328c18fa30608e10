// Puts the offscreen platform on the screens of VEXARO_SCREEN_CONFIG before the application
// object exists (each program of this folder has one screen set-up).
#include <QByteArray>

namespace {

const bool kConfigured = [] {
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + VEXARO_SCREEN_CONFIG);
  return true;
}();

}  // namespace
