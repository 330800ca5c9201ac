#include "app/app_options.h"

#include "sim/fault_list.h"

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

// "all", or channel numbers 1..8 separated by commas.
std::optional<std::vector<int>> parseCurves(const QString& text) {
  std::vector<int> channels;
  if (text == QLatin1String("all")) {
    for (int c = 0; c < 8; ++c) channels.push_back(c);
    return channels;
  }
  for (const QString& part : text.split(QLatin1Char(','))) {
    bool ok = false;
    const int n = part.toInt(&ok);
    if (!ok || n < 1 || n > 8) return std::nullopt;
    channels.push_back(n - 1);
  }
  return channels;
}

}  // namespace

std::string appUsage() {
  return "Usage: zr78 [--simulate[=FILE] [--sim-faults FAULTS]]\n"
         "              [--screenshot FILE [--size WxH] [--scene NAME [--filters FILE]]\n"
         "              [--eq-mode geq|peq] [--show-curves all|N[,N...]]] [--instance NAME] [--fast-link]\n"
         "   or: zr78 --help | --version\n"
         "  --sim-faults FAULTS  with --simulate: faults of the virtual amplifier, to rehearse a bad\n"
         "                     cable; items separated by commas, for example\n"
         "                     loss=0.05,corrupt=0.01,delay-ms=0..300,seed=7\n" +
         sim::faultListHelp("                       ");
}

std::optional<AppOptions> parseAppOptions(const QStringList& arguments, std::string& error) {
  AppOptions o;
  bool sizeGiven = false;
  bool faultsGiven = false;
  const char* screenshotOnly = nullptr;  // an option that needs --screenshot
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
          *v != QLatin1String("mixer") && *v != QLatin1String("import")) {
        error = "--scene takes strip, links, mixer or import";
        return std::nullopt;
      }
      o.screenshotScene = v->toStdString();
      screenshotOnly = "--scene";
    } else if (a == QLatin1String("--filters")) {
      const auto v = value("--filters");
      if (!v) return std::nullopt;
      o.screenshotFilters = v->toStdString();
    } else if (a == QLatin1String("--instance")) {
      const auto v = value("--instance");
      if (!v) return std::nullopt;
      o.instanceName = v->toStdString();
    } else if (a == QLatin1String("--sim-faults") || a.startsWith(QLatin1String("--sim-faults="))) {
      std::optional<QString> list = a.size() > 12 ? std::optional<QString>(a.mid(13)) : value("--sim-faults");
      if (!list) return std::nullopt;
      const auto faults = sim::parseFaultList(list->toStdString(), error);
      if (!faults) return std::nullopt;
      o.simFaults = *faults;
      faultsGiven = true;
    } else if (a == QLatin1String("--fast-link")) {
      o.fastLink = true;
    } else if (a == QLatin1String("--eq-mode")) {
      const auto v = value("--eq-mode");
      if (!v) return std::nullopt;
      if (*v != QLatin1String("geq") && *v != QLatin1String("peq")) {
        error = "--eq-mode takes geq or peq";
        return std::nullopt;
      }
      o.screenshotPeq = *v == QLatin1String("peq");
      screenshotOnly = "--eq-mode";
    } else if (a == QLatin1String("--show-curves")) {
      const auto v = value("--show-curves");
      if (!v) return std::nullopt;
      const auto curves = parseCurves(*v);
      if (!curves) {
        error = "--show-curves takes all or channel numbers 1..8, for example 2,3";
        return std::nullopt;
      }
      o.screenshotCurves = *curves;
      screenshotOnly = "--show-curves";
    } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      o.help = true;
    } else if (a == QLatin1String("--version")) {
      o.version = true;
    } else {
      error = "unknown argument: " + a.toStdString();
      return std::nullopt;
    }
  }
  if (faultsGiven && !o.simulate) {
    error = "--sim-faults is used with --simulate";
    return std::nullopt;
  }
  if (sizeGiven && o.screenshotPath.empty()) {
    error = "--size is used with --screenshot";
    return std::nullopt;
  }
  if ((o.screenshotScene == "import") != !o.screenshotFilters.empty()) {
    error = "--scene import and --filters FILE go together";
    return std::nullopt;
  }
  if (screenshotOnly != nullptr && o.screenshotPath.empty()) {
    error = std::string(screenshotOnly) + " is used with --screenshot";
    return std::nullopt;
  }
  return o;
}

}  // namespace zr78
