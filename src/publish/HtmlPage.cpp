#include "publish/HtmlPage.h"

#include <vector>

#include "project/NumberText.h"
#include "project/TextCodec.h"
#include "publish/MarkupText.h"
#include "publish/ViewerSelection.h"

namespace qx {
namespace {

constexpr std::string_view kDownloadPage = "http://www.adobe.com/go/getflash";
constexpr std::string_view kDownloadButton =
    "http://www.adobe.com/images/shared/download_buttons/get_flash_player.gif";

// The parameters of the viewer object, as name and value; both objects carry the same ones.
std::vector<std::pair<std::string, std::string>> objectParams(const std::string& bg,
                                                              const PublishValues& v) {
  return {{"movie", std::string(kViewerFileName)},
          {"quality", v.qualityText},
          {"bgcolor", "#" + bg},
          {"play", "true"},
          {"loop", "true"},
          {"wmode", v.wmodeText},
          {"scale", "showall"},
          {"menu", "true"},
          {"devicefont", "false"},
          {"salign", ""},
          {"allowScriptAccess", "sameDomain"}};
}

}  // namespace

std::string htmlPageBytes(const ProjectSettings& s, const PublishValues& v) {
  const std::string title = escapeMarkup(trimSpaces(s.htmlTitle));
  const std::string bg = rgbText(s.htmlBgColor);
  const bool iframe = s.iframe != 0;
  const bool border = s.border != 0;
  const auto params = objectParams(bg, v);

  std::vector<std::string> lines = {
      "<html>",
      "<head>",
      "    <title>" + title + "</title>",
      "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />",
      "    <style type=\"text/css\" media=\"screen\">",
      "        html, body { height:100%; background-COLOR: " + bg + ";}",
      "        body { margin:0; padding:0; overflow:hidden; }",
      "        #flashContent { width:100%; height:100%; }",
      "    </style>",
      "</head>",
      "<body>",
  };
  if (!iframe) {
    lines.push_back("    <center>");
    lines.push_back("        <br><br>");
    if (!title.empty()) lines.push_back("            " + title + " ");
    lines.push_back("        <br><br>");
    lines.push_back("");
  }
  if (border) {
    lines.push_back("     <div style=\"width:100%;\" >");
    lines.push_back("     <div style=\"width: " + v.widthText + "px; height: " + v.heightText +
                    "px; margin: 0 auto; border: solid 1px black;\">");
  }
  lines.push_back("<div ID=\"flashContent\">");
  lines.push_back(
      "   <object classid=\"clsid:d27cdb6e-ae6d-11cf-96b8-444553540000\" width=" + v.widthText +
      " height=" + v.heightText + " id=\"qx_flash_hs\" align=\"middle\">");
  // The outer object pads every name to one column; the inner one does not.
  for (const auto& [name, value] : params)
    lines.push_back("       <param name=\"" + name + "\"" + std::string(18 - name.size(), ' ') +
                    "value=\"" + value + "\" />");
  lines.push_back("   <!--[if !IE]>-->");
  lines.push_back("       <object type=\"application/x-shockwave-flash\" data=\"" +
                  std::string(kViewerFileName) + "\" width=" + v.widthText +
                  " height=" + v.heightText + ">");
  for (const auto& [name, value] : params)
    lines.push_back("             <param name=\"" + name + "\" value=\"" + value + "\" />");
  lines.insert(lines.end(), {
                                "   <!--<![endif]-->",
                                "   <a href=\"" + std::string(kDownloadPage) + "\">",
                                "       <img src=\"" + std::string(kDownloadButton) +
                                    "\" alt=\"Load Adobe Flash Player\" />",
                                "   </a>",
                                "   <!--[if !IE]>-->",
                                "        </object>",
                                "   <!--<![endif]-->",
                                "   </object>",
                                "   </div>",
                            });
  if (border) {
    lines.push_back("</div>");
    lines.push_back("</div>");
  }
  lines.insert(lines.end(), {"        <br><br>", "        </center>", "    </body>", "</html>"});
  return crlfLines(lines);
}

std::optional<FileError> writeHtmlPage(const ProjectSettings& settings,
                                       const PublishValues& values) {
  return writeFileReplacing(values.htmlPath, htmlPageBytes(settings, values),
                            LinkPolicy::replaceLink);
}

}  // namespace qx
