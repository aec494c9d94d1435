#!/usr/bin/env bash
# The main job: install what is needed, build Brisca, install the plug-ins where Linux hosts
# look for them, show that a host sees them, and render the built-in demo through the real
# processor (demo-out.wav and demo.png in the current folder).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BRISCA_BUILD_DIR:-$here/build}

bash "$here/tools/install-deps.sh"
export CCACHE_BASEDIR="$here"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)" --target Brisca_LV2 Brisca_VST3 Brisca_Standalone brisca-render

artefacts="$build/plugin/Brisca_artefacts/Release"
mkdir -p "$HOME/.lv2" "$HOME/.vst3" "$HOME/.local/bin"
rm -rf "$HOME/.lv2/Brisca.lv2" "$HOME/.vst3/Brisca.vst3"
cp -r "$artefacts/LV2/Brisca.lv2" "$HOME/.lv2/"
cp -r "$artefacts/VST3/Brisca.vst3" "$HOME/.vst3/"
install -m 755 "$artefacts/Standalone/Brisca" "$HOME/.local/bin/Brisca"
echo "Installed: $HOME/.lv2/Brisca.lv2  $HOME/.vst3/Brisca.vst3  $HOME/.local/bin/Brisca"

# What an LV2 host reads from the installed bundle.
LV2_PATH="$HOME/.lv2" lv2info "https://$(sed -n 's/^BRISCA_MAKER_DOMAIN:STRING=//p' "$build/CMakeCache.txt")/plugins/brisca" \
  | awk '/^\tName:|^\tAuthor:/ { print } /^\tPresets:/ { p = 1; print; next } p && /^\t +[^ ]/ { print; next } { p = 0 }' || true

"$build/tools/brisca-render" --plot demo.png "$@"
