#include "PluginLoader.h"

namespace
{
juce::AudioPluginFormat* formatNamed (juce::AudioPluginFormatManager& formats, const juce::String& name)
{
    for (int i = 0; i < formats.getNumFormats(); ++i)
        if (formats.getFormat (i)->getName() == name)
            return formats.getFormat (i);
    return nullptr;
}

// The URI of the plug-in a bundle's manifest declares ("<uri> a lv2:Plugin").
juce::String pluginUriInManifest (const juce::File& manifest)
{
    const auto text = manifest.loadFileAsString();
    for (int start = text.indexOfChar ('<'); start >= 0; start = text.indexOfChar (start + 1, '<'))
    {
        const int end = text.indexOfChar (start, '>');
        if (end < 0)
            break;
        const auto rest = text.substring (end + 1).trimStart();
        if (rest.startsWith ("a lv2:Plugin") || rest.startsWith ("a <http://lv2plug.in/ns/lv2core#Plugin>"))
            return text.substring (start + 1, end);
    }
    return {};
}

// JUCE's LV2 host loads ~/.lv2 and the system folders before the bundle it is given, and lilv
// keeps the first plug-in it meets for a URI: a stale installed copy would be validated instead
// of the fresh build without any sign of it.
juce::String findShadowingBundle (const juce::File& ours, const juce::String& uri)
{
    juce::Array<juce::File> folders { juce::File ("~/.lv2"), juce::File ("/usr/lib/lv2"), juce::File ("/usr/local/lib/lv2"),
                                      juce::File ("/usr/lib64/lv2"), juce::File ("/usr/local/lib64/lv2"),
                                      ours.getParentDirectory() };
    const auto ourPath = ours.getLinkedTarget().getFullPathName();
    for (const auto& folder : folders)
        for (const auto& entry : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findDirectories))
        {
            const auto other = entry.getFile();
            if (other.getLinkedTarget().getFullPathName() == ourPath)
                continue;
            const auto manifest = other.getChildFile ("manifest.ttl");
            if (manifest.existsAsFile() && pluginUriInManifest (manifest) == uri)
                return other.getFullPathName();
        }
    return {};
}
} // namespace

PluginLoader::PluginLoader()
{
    formats.addFormat (new juce::VST3PluginFormat());
    formats.addFormat (new juce::LV2PluginFormat());
}

PluginLoader::~PluginLoader() = default;

juce::String PluginLoader::open (const juce::File& bundle)
{
    bundleFolder = bundle;
    if (! bundle.exists())
        return "no such file or folder: " + bundle.getFullPathName();
    vst3 = bundle.getFileExtension().equalsIgnoreCase (".vst3");
    if (vst3)
        return openVst3();
    if (bundle.getChildFile ("manifest.ttl").existsAsFile())
        return openLv2();
    return "not a .vst3 bundle nor an LV2 bundle folder (no manifest.ttl): " + bundle.getFullPathName();
}

juce::String PluginLoader::openVst3()
{
    auto* format = formatNamed (formats, "VST3");
    juce::OwnedArray<juce::PluginDescription> types;
    format->findAllTypesForFile (types, bundleFolder.getFullPathName());
    if (types.isEmpty())
        return "JUCE's VST3 host finds no plug-in in " + bundleFolder.getFullPathName();
    found = *types[0];
    return {};
}

juce::String PluginLoader::openLv2()
{
    const auto uri = pluginUriInManifest (bundleFolder.getChildFile ("manifest.ttl"));
    if (uri.isEmpty())
        return "the manifest declares no lv2:Plugin";
    const auto shadow = findShadowingBundle (bundleFolder, uri);
    if (shadow.isNotEmpty())
        return "the bundle " + shadow + " declares the same URI <" + uri
               + "> and JUCE's LV2 host may load it instead; run with HOME set to an empty folder"
                 " or remove that copy";

    auto* format = formatNamed (formats, "LV2");
    format->searchPathsForPlugins (juce::FileSearchPath (bundleFolder.getParentDirectory().getFullPathName()), false, false);
    juce::OwnedArray<juce::PluginDescription> types;
    format->findAllTypesForFile (types, uri);
    if (types.isEmpty())
        return "JUCE's LV2 host does not find <" + uri + "> in " + bundleFolder.getFullPathName();
    found = *types[0];
    return {};
}

std::unique_ptr<juce::AudioPluginInstance> PluginLoader::create (juce::String& error, double sampleRate, int blockSize)
{
    error.clear();
    auto instance = formats.createPluginInstance (found, sampleRate, blockSize, error);
    if (instance == nullptr && error.isEmpty())
        error = "the format returned no instance";
    return instance;
}
