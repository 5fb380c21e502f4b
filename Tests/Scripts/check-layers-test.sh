#!/usr/bin/env bash
# The layer check passes on a clean miniature tree and fails, naming the file
# and the include, once a violation is planted.
set -euo pipefail
check=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/Sources/TarvCore/Models" "$tmp/Sources/TarvTerminal/Text" "$tmp/Sources/TarvUI"
echo '#include "TarvCore/Models/A.hpp"' > "$tmp/Sources/TarvCore/Models/B.hpp"
echo '#include <vector>' > "$tmp/Sources/TarvTerminal/Text/W.hpp"
printf '#include "TarvCore/Models/A.hpp"\n#include "TarvTerminal/Text/W.hpp"\n' > "$tmp/Sources/TarvUI/V.cpp"
"$check" "$tmp" >/dev/null || { echo "clean tree was refused"; exit 1; }

echo '  #include "TarvCore/Models/A.hpp"' >> "$tmp/Sources/TarvTerminal/Text/W.hpp"
if out=$("$check" "$tmp" 2>&1); then
  echo "planted violation was not found"; exit 1
fi
grep -q 'Sources/TarvTerminal/Text/W.hpp includes "TarvCore/Models/A.hpp"' <<<"$out" || { echo "message lacks file and include: $out"; exit 1; }
echo "ok"
