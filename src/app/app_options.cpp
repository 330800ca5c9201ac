#include "app/app_options.h"

namespace zr78 {

namespace {

std::optional<QSize> parseSize(const QString& text) {
  const QStringList parts = text.split(QLatin1Char('x'));
  if (parts.size() != 2) return std::nullopt;
  bool okW = false, okH = false;
  const int w = parts[0].toInt(&okW);
  const int h = parts[1].toInt(&okH);
  if (!okW || !okH || w < 1 || h < 1 || w > 16384 || h > 16384) return std::nullopt;
  return QSize(w, h);
}

}  // namespace

std::string appUsage() {
  return "Usage: zr78 [--simulate[=FILE]] [--screenshot FILE [--size WxH] [--scene NAME]] "
         "[--instance NAME] [--fast-link]\n"
         "   or: zr78 --help | --version\n";
}

std::optional<AppOptions> parseAppOptions(const QStringList& arguments, std::string& error) {
  AppOptions o;
  bool sizeGiven = false;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    auto value = [&](const char* name) -> std::optional<QString> {
      if (i + 1 >= arguments.size()) {
        error = std::string(name) + " needs a value";
        return std::nullopt;
      }
      return arguments[++i];
    };
    if (a == QLatin1String("--simulate")) {
      o.simulate = true;
    } else if (a.startsWith(QLatin1String("--simulate="))) {
      o.simulate = true;
      o.statePath = a.mid(11).toStdString();
    } else if (a == QLatin1String("--screenshot")) {
      const auto v = value("--screenshot");
      if (!v) return std::nullopt;
      o.screenshotPath = v->toStdString();
    } else if (a == QLatin1String("--size")) {
      const auto v = value("--size");
      if (!v) return std::nullopt;
      const auto size = parseSize(*v);
      if (!size) {
        error = "--size takes WIDTHxHEIGHT, for example 2556x1436";
        return std::nullopt;
      }
      o.size = *size;
      sizeGiven = true;
    } else if (a == QLatin1String("--scene")) {
      const auto v = value("--scene");
      if (!v) return std::nullopt;
      if (*v != QLatin1String("strip") && *v != QLatin1String("links") &&
          *v != QLatin1String("mixer")) {
        error = "--scene takes strip, links or mixer";
        return std::nullopt;
      }
      o.screenshotScene = v->toStdString();
    } else if (a == QLatin1String("--instance")) {
      const auto v = value("--instance");
      if (!v) return std::nullopt;
      o.instanceName = v->toStdString();
    } else if (a == QLatin1String("--fast-link")) {
      o.fastLink = true;
    } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      o.help = true;
    } else if (a == QLatin1String("--version")) {
      o.version = true;
    } else {
      error = "unknown argument: " + a.toStdString();
      return std::nullopt;
    }
  }
  if (sizeGiven && o.screenshotPath.empty()) {
    error = "--size is used with --screenshot";
    return std::nullopt;
  }
  if (!o.screenshotScene.empty() && o.screenshotPath.empty()) {
    error = "--scene is used with --screenshot";
    return std::nullopt;
  }
  return o;
}

}  // namespace zr78
