#include "StackReport.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <map>

namespace
{
struct Frame
{
    juce::String module;
    juce::uint64 offset = 0;
    juce::StringArray functions; // innermost first: inlined functions, then the real one
};

// Function names for offsets in one binary, through addr2line (the plug-in's symbols are
// hidden, so dladdr cannot name them). With debug information the functions inlined at that
// point are named too. Unnamed frames keep module+offset.
void nameFrames (const juce::String& module, std::vector<Frame*>& frames)
{
    juce::StringArray command { "addr2line", "-a", "-C", "-f", "-i", "-e", module };
    for (auto* f : frames)
        command.add ("0x" + juce::String::toHexString (static_cast<juce::int64> (f->offset)));
    juce::ChildProcess addr2line;
    if (! addr2line.start (command, juce::ChildProcess::wantStdOut))
        return;
    // Each address is echoed on its own line, then a function line and a source line per level.
    const auto lines = juce::StringArray::fromLines (addr2line.readAllProcessOutput());
    int index = -1;
    for (int l = 0; l < lines.size(); ++l)
    {
        if (lines[l].startsWith ("0x"))
        {
            ++index;
            continue;
        }
        if (index < 0 || index >= (int) frames.size())
            break;
        const auto name = lines[l].upToFirstOccurrenceOf ("(", false, false);
        if (name != "??")
            frames[(size_t) index]->functions.add (name);
        ++l; // the source line
    }
}

bool isOurs (const juce::String& function)
{
    for (auto* marker : { "Brisca", "CCompress", "ProgramSet", "processChain", "designChannelFilters", "setAndNotify", "brisca::" })
        if (function.contains (marker))
            return true;
    return false;
}

juce::String demangled (const char* symbol)
{
    int status = 0;
    std::unique_ptr<char, decltype (&std::free)> name (abi::__cxa_demangle (symbol, nullptr, nullptr, &status), &std::free);
    return status == 0 && name != nullptr ? juce::String (name.get()).upToFirstOccurrenceOf ("(", false, false) : juce::String (symbol);
}

bool isSystem (const juce::String& module)
{
    return module.contains ("/libc.so") || module.contains ("/libstdc++") || module.contains ("/libgcc_s")
           || module.contains ("/ld-linux");
}
} // namespace

std::vector<Finding> explainStacks (const std::vector<probe::Stack>& stacks, const juce::File& bundle)
{
    const auto self = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName();
    const auto bundlePath = bundle.getLinkedTarget().getFullPathName();

    std::vector<std::vector<Frame>> resolved;
    std::map<juce::String, std::vector<Frame*>> byModule;
    for (const auto& stack : stacks)
    {
        std::vector<Frame> frames;
        for (void* address : stack.frames)
        {
            Dl_info info {};
            Frame frame;
            if (dladdr (address, &info) != 0 && info.dli_fbase != nullptr)
            {
                frame.module = info.dli_fname != nullptr && juce::File::isAbsolutePath (info.dli_fname) ? juce::String (info.dli_fname) : self;
                frame.module = juce::File (frame.module).getLinkedTarget().getFullPathName();
                // Return addresses point after the call; step back into it.
                frame.offset = static_cast<juce::uint64> (static_cast<const char*> (address) - static_cast<const char*> (info.dli_fbase)) - 1;
                // The C library and the loader export what matters here (__tls_get_addr, say).
                if (isSystem (frame.module) && info.dli_sname != nullptr)
                    frame.functions.add (demangled (info.dli_sname));
            }
            frames.push_back (frame);
        }
        resolved.push_back (std::move (frames));
    }
    for (auto& frames : resolved)
        for (auto& f : frames)
            if (f.module.isNotEmpty() && ! isSystem (f.module))
                byModule[f.module].push_back (&f);
    for (auto& [module, frames] : byModule)
        nameFrames (module, frames);

    std::vector<Finding> findings;
    for (size_t s = 0; s < stacks.size(); ++s)
    {
        Finding finding;
        finding.call = stacks[s].call;
        juce::StringArray path { probe::nameOf (stacks[s].call) };
        for (const auto& f : resolved[s])
        {
            if (f.module.isEmpty())
                continue;
            if (isSystem (f.module))
            {
                // Named loader and C library frames between the call and the code that caused it.
                if (! finding.inPlugin && ! f.functions.isEmpty() && path.size() < 4)
                    path.addArray (f.functions);
                continue;
            }
            const bool inPlugin = f.module.startsWith (bundlePath);
            // The validator's own code, above JUCE's hosting: the rest of the stack is ours.
            if (! inPlugin && ! f.functions.isEmpty() && ! f.functions[f.functions.size() - 1].startsWith ("juce::"))
                break;
            // Library templates inlined into the caller say little; name the first real caller.
            for (const auto& function : f.functions)
                if (inPlugin && finding.where.isEmpty() && ! function.startsWith ("std::") && ! function.startsWith ("__"))
                    finding.where = function;
            finding.inPlugin = finding.inPlugin || inPlugin;
            for (const auto& function : f.functions)
                finding.ourCode = finding.ourCode || (inPlugin && isOurs (function));
            if (f.functions.isEmpty())
                path.add (juce::File (f.module).getFileName() + "+0x" + juce::String::toHexString ((juce::int64) f.offset));
            path.addArray (f.functions);
        }
        if (path.size() > 12)
            path.removeRange (12, path.size() - 12);
        finding.path = path.joinIntoString (" <- ");

        auto same = std::find_if (findings.begin(), findings.end(), [&] (const Finding& other) {
            return other.call == finding.call && other.path == finding.path && other.where == finding.where;
        });
        if (same != findings.end())
            ++same->count;
        else
        {
            finding.count = 1;
            findings.push_back (finding);
        }
    }
    return findings;
}

juce::String originOf (const Finding& f)
{
    if (! f.inPlugin)
        return "host";
    return f.ourCode ? "Brisca" : "JUCE wrapper";
}
