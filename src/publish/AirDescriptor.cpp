#include "publish/AirDescriptor.h"

#include <vector>

#include "publish/MarkupText.h"

namespace qx {

std::string airDescriptorBytes() {
  // The packaging tools accept the 2.5 descriptor namespace only.
  static const std::vector<std::string> kLines = {
      R"(<?xml version="1.0" encoding="UTF-8" standalone="no" ?>)",
      R"(  <application xmlns="http://ns.adobe.com/air/application/2.5">)",
      R"(    <id>qx_flash_hsID</id>)",
      R"(    <versionNumber>1.0</versionNumber>)",
      R"(    <filename>qx_flash_hs</filename>)",
      R"(    <description/>)",
      R"(  <!--)",
      R"(  To localize the description, use the following format for the description element.)",
      R"(  <description>)",
      R"(  <text xml:lang="en">English App description goes here</text>)",
      R"(  <text xml:lang="fr">French App description goes here</text>)",
      R"(  <text xml:lang="ja">Japanese App description goes here</text>)",
      R"(  </description>)",
      R"(  -->)",
      R"(  <name>qx_flash_hs</name>)",
      R"(  <!--)",
      R"(  To localize the name, use the following format for the name element.)",
      R"(  <name><text xml:lang="en">English App name goes here</text>)",
      R"(  <text xml:lang="fr">French App name goes here</text>)",
      R"(  <text xml:lang="ja">Japanese App name goes here</text>)",
      R"(  </name>)",
      R"(  -->)",
      R"(    <copyright/>)",
      R"(    <initialWindow>)",
      R"(      <content>qx_flash_hs.swf</content>)",
      R"(      <systemChrome>standard</systemChrome>)",
      R"(      <transparent>false</transparent>)",
      R"(      <visible>true</visible>)",
      R"(      <fullScreen>false</fullScreen>)",
      R"(      <aspectRatio>portrait</aspectRatio>)",
      R"(      <renderMode>auto</renderMode>)",
      R"(    </initialWindow>)",
      R"(    <icon/>)",
      R"(    <customUpdateUI>false</customUpdateUI>)",
      R"(    <allowBrowserInvocation>false</allowBrowserInvocation>)",
      R"(  </application>)",
  };
  return crlfLines(kLines);
}

std::optional<FileError> writeAirDescriptor(const std::filesystem::path& folder) {
  return writeFileReplacing(folder / kAirDescriptorName, airDescriptorBytes(),
                            LinkPolicy::replaceLink);
}

}  // namespace qx
