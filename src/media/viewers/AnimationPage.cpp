#include "media/viewers/AnimationPage.h"

#include <QJsonDocument>
#include <QJsonValue>

namespace {

// A JavaScript string literal holding text (quotes and "</script>" escaped).
QString jsString(const QString& text) {
    QString json = QString::fromUtf8(
        QJsonDocument::fromVariant(QVariantList{text}).toJson(QJsonDocument::Compact));
    json = json.mid(1, json.size() - 2); // drop the array brackets
    return json.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
}

} // namespace

QByteArray animationPageHtml(const QString& swfUrl, const QString& title) {
    static const QString page = QStringLiteral(R"(<!doctype html>
<html lang="ja"><head><meta charset="utf-8"><title>%1</title>
<style>
html, body { margin: 0; width: 100%; height: 100%; background: #ffffff; overflow: hidden; }
#stage { width: 100%; height: 100%; }
#notice { display: none; padding: 2em; font: 18px sans-serif; color: #a00000; }
</style>
<script>
(function () {
  var scheme = %2;
  var pageFetch = window.fetch;
  window.fetch = function (input, init) {
    var url = typeof input === "string" ? input : (input && input.url) || String(input);
    if (url.indexOf(scheme + ":") !== 0) {
      return pageFetch.apply(this, arguments);
    }
    return new Promise(function (resolve, reject) {
      var request = new XMLHttpRequest();
      request.open("GET", url);
      request.responseType = "arraybuffer";
      request.onload = function () {
        var type = request.getResponseHeader("Content-Type") || "application/octet-stream";
        resolve(new Response(request.response, {
          status: request.status || 200, headers: { "Content-Type": type } }));
      };
      request.onerror = function () { reject(new TypeError("cannot load " + url)); };
      request.send();
    });
  };
  window.RufflePlayer = window.RufflePlayer || {};
  window.RufflePlayer.config = {
    publicPath: %3, autoplay: "on", unmuteOverlay: "hidden", splashScreen: false,
    letterbox: "on", contextMenu: "off", warnOnUnsupportedContent: false, openUrlMode: "deny"
  };
})();
</script>
<script src="%4ruffle.js"></script>
</head><body>
<div id="stage"></div><div id="notice"></div>
<script>
window.addEventListener("load", function () {
  var notice = document.getElementById("notice");
  if (!window.RufflePlayer || typeof window.RufflePlayer.newest !== "function" ||
      !window.RufflePlayer.newest()) {
    notice.textContent = "アニメーションを再生する部品（ruffle）が見つかりません。" +
        "プログラムのフォルダに ruffle フォルダがあるか確かめてください。";
    notice.style.display = "block";
    return;
  }
  var player = window.RufflePlayer.newest().createPlayer();
  player.style.width = "100%";
  player.style.height = "100%";
  document.getElementById("stage").appendChild(player);
  player.ruffle().load({ url: %5 });
});
</script>
</body></html>
)");
    return page
        .arg(title.toHtmlEscaped(), jsString(QString::fromLatin1(animationScheme)),
             jsString(playerFilesUrl), playerFilesUrl, jsString(swfUrl))
        .toUtf8();
}
