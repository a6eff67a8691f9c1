#!/bin/sh
# Keeps the code blocks of README.md equal to the files they come from. A block is quoted from a
# file by a marker on the line before its opening fence:
#   <!-- snippet: examples/snippets/number.cpp -->          the whole file
#   <!-- snippet: examples/snippets/number.cpp amount -->   its region "amount"
# A region is every stretch of the file between a line holding `snippet-begin NAME` and the next
# line holding `snippet-end NAME` (in any comment: `// snippet-begin amount`, `# snippet-end x`),
# the stretches joined in order, the marker lines left out. Every ```cpp block needs a marker, so
# each C++ example of the README is a file that the builds compile.
#   tools/snippets.sh            checks: prints the difference and exits 1 when a block differs
#   tools/snippets.sh --update   rewrites the blocks of README.md from the files
# Adding an example: write the file (examples/snippets/*.cpp are built by examples/CMakeLists.txt),
# put the marker in the README, run tools/snippets.sh --update.
set -eu
cd "$(dirname "$0")/.."
readme=${KW_README:-README.md}

generate() {
  awk '
    function fail(msg) { printf "%s:%d: %s\n", FILENAME, FNR, msg > "/dev/stderr"; bad = 1; exit 2 }
    # The lines of file (region name, or all of it when name is empty) into body[1..n].
    function quote(file, name,   line, inside, found, n, got) {
      n = 0; inside = (name == ""); found = inside
      while ((got = (getline line < file)) > 0) {
        if (name != "" && index(line, "snippet-begin " name) && line ~ ("snippet-begin " name "[ \t]*$")) { inside = 1; found = 1; continue }
        if (name != "" && index(line, "snippet-end " name) && line ~ ("snippet-end " name "[ \t]*$")) { inside = 0; continue }
        if (inside) body[++n] = line
      }
      if (got < 0) fail("cannot read " file)
      close(file)
      if (!found) fail("no " (name == "" ? "file " file : "region \"" name "\" in " file))
      return n
    }
    pending != "" {
      if ($0 !~ /^```/) fail("a snippet marker must stand right before a code fence")
      print
      split(pending, ref, " "); pending = ""
      n = quote(ref[1], ref[2])
      for (i = 1; i <= n; i++) print body[i]
      # Skip the old block up to its closing fence.
      while ((getline line) > 0 && line !~ /^```[ \t]*$/) {}
      print "```"
      next
    }
    /^<!-- snippet: .* -->[ \t]*$/ {
      pending = $0; sub(/^<!-- snippet: /, "", pending); sub(/ -->[ \t]*$/, "", pending)
      print; next
    }
    /^```cpp/ { fail("a C++ block without a snippet marker: quote it from a file under examples/") }
    { print }
    END { if (!bad && pending != "") fail("a snippet marker at the end of the file") }
  ' "$readme"
}

if [ "${1:-}" = "--update" ]; then
  generate >"$readme.new" && mv "$readme.new" "$readme" || { rm -f "$readme.new"; exit 1; }
  echo "snippets: $readme updated"
else
  generate >"${TMPDIR:-/tmp}/kw-readme.$$" || exit 1
  if ! diff -u "$readme" "${TMPDIR:-/tmp}/kw-readme.$$"; then
    rm -f "${TMPDIR:-/tmp}/kw-readme.$$"
    echo "snippets: $readme differs from the files it quotes (left: README, right: the files);" \
      "edit the files and run tools/snippets.sh --update" >&2
    exit 1
  fi
  rm -f "${TMPDIR:-/tmp}/kw-readme.$$"
  echo "snippets: $readme quotes its files as they are"
fi
