#include "AudioFiles.h"

#include <sys/stat.h>

OpenedInput openAudioInput (juce::AudioFormatManager& formats, const juce::File& file, const juce::String& role)
{
    OpenedInput opened;
    const auto name = file.getFullPathName();
    if (file.isDirectory())
        opened.error = role + " '" + name + "' is a folder, not an audio file";
    else if (! file.existsAsFile())
        opened.error = role + " '" + name + "': no such file";
    else if (! file.hasReadAccess())
        opened.error = role + " '" + name + "': no permission to read it";
    if (opened.error.isNotEmpty())
        return opened;

    opened.reader.reset (formats.createReaderFor (file));
    if (opened.reader == nullptr)
    {
        opened.error = role + " '" + name + "': not a readable audio file (WAV, FLAC, AIFF or Ogg Vorbis)";
        return opened;
    }
    const auto channels = static_cast<int> (opened.reader->numChannels);
    if (channels < 1 || channels > 2)
        opened.error = role + " '" + name + "' has " + juce::String (channels)
                       + " channels; only mono and stereo files can be processed";
    else if (! (opened.reader->sampleRate >= 1000.0 && opened.reader->sampleRate <= 1536000.0))
        opened.error = role + " '" + name + "' has an unusable sample rate (" + juce::String (opened.reader->sampleRate) + " Hz)";
    if (opened.error.isNotEmpty())
        opened.reader.reset();
    return opened;
}

OpenedOutput openAudioOutput (juce::AudioFormatManager& formats, const juce::File& target, const juce::File& writeTo,
                              double sampleRate, int numChannels, int inputBits, bool floatWav)
{
    OpenedOutput opened;
    auto* format = formats.findFormatForFileExtension (target.getFileExtension());
    if (floatWav && dynamic_cast<juce::WavAudioFormat*> (format) == nullptr)
    {
        opened.error = "--float writes a WAV file; give the output a .wav name ('" + target.getFileName() + "')";
        return opened;
    }
    if (format == nullptr || ! format->canDoMono() || (numChannels == 2 && ! format->canDoStereo()))
    {
        opened.error = "output '" + target.getFullPathName() + "': cannot tell the format from its name (use .wav, .flac or .aiff)";
        return opened;
    }

    int bits = 32;
    if (! floatWav)
    {
        const auto depths = format->getPossibleBitDepths();
        bits = depths.isEmpty() ? inputBits : depths.getLast();
        for (int depth : depths)
            if (depth >= inputBits)
            {
                bits = depth; // the input's depth, or the next one up
                break;
            }
    }

    auto stream = writeTo.createOutputStream();
    if (stream == nullptr || stream->failedToOpen())
    {
        opened.error = "output '" + target.getFullPathName() + "': cannot be created in that folder";
        return opened;
    }
    std::unique_ptr<juce::OutputStream> out (stream.release());
    // Ogg's quality list runs from low to high; the other formats' first option is their plain one.
    const int quality = format->getFormatName().containsIgnoreCase ("ogg") ? juce::jmax (0, format->getQualityOptions().size() - 1) : 0;
    opened.writer.reset (format->createWriterFor (out.get(), sampleRate, static_cast<unsigned> (numChannels), bits, {}, quality));
    if (opened.writer == nullptr)
    {
        opened.error = "output '" + target.getFullPathName() + "': " + format->getFormatName() + " cannot store "
                       + juce::String (numChannels) + " channel(s) at " + juce::String (sampleRate) + " Hz, " + juce::String (bits) + "-bit";
        return opened;
    }
    out.release(); // now owned by the writer
    opened.description = format->getFormatName().upToFirstOccurrenceOf (" file", false, true) + ", "
                         + juce::String (bits) + (floatWav || (bits == 32 && dynamic_cast<juce::WavAudioFormat*> (format) != nullptr) ? "-bit float" : "-bit");
    return opened;
}

juce::String describeInput (const juce::AudioFormatReader& reader)
{
    const double seconds = reader.sampleRate > 0.0 ? static_cast<double> (reader.lengthInSamples) / reader.sampleRate : 0.0;
    return reader.getFormatName().upToFirstOccurrenceOf (" file", false, true) + ", "
           + juce::String (reader.bitsPerSample) + (reader.usesFloatingPointData ? "-bit float, " : "-bit, ")
           + juce::String (reader.sampleRate, 0) + " Hz, " + (reader.numChannels == 1 ? "mono, " : "stereo, ")
           + formatDuration (seconds);
}

bool isSameFile (const juce::File& a, const juce::File& b)
{
    struct stat sa {}, sb {};
    const bool hasA = ::stat (a.getFullPathName().toRawUTF8(), &sa) == 0;
    const bool hasB = ::stat (b.getFullPathName().toRawUTF8(), &sb) == 0;
    if (hasA && hasB)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    if (hasA != hasB)
        return false; // a file that exists cannot be one that does not
    // Neither exists yet (two outputs): the same folder and name.
    return a.getParentDirectory().getLinkedTarget() == b.getParentDirectory().getLinkedTarget() && a.getFileName() == b.getFileName();
}

juce::String formatDuration (double seconds)
{
    if (seconds < 60.0)
        return juce::String (seconds, 2) + " s";
    const int minutes = static_cast<int> (seconds / 60.0);
    const double rest = seconds - 60.0 * minutes;
    return juce::String (minutes) + ":" + (rest < 10.0 ? "0" : "") + juce::String (rest, 1);
}
