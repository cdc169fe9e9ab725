#!/usr/bin/env bash
# The layering, stated once: which folders the code of each folder may include.
# The link graph enforces it for what is linked; this also catches a header that is
# only included (no link needed) and says which line runs up or sideways.
# A folder not in the table inherits the row of the nearest folder above it.
# Tests may include what the code they test may, and tests/ itself; the tests of the
# program's rooms link the whole window and may look at any room.
set -euo pipefail
cd "$(dirname "$0")/../.."

declare -A allowed=(
  [platform]="platform/"
  [text]="text/ platform/"
  [settings]="settings/ text/ platform/"
  [editor]="editor/ text/ platform/"
  [widgets]="widgets/ text/ platform/"
  [app/desktop]="app/desktop/ settings/ text/ platform/"
  [app/clipboard]="app/clipboard/ app/desktop/ settings/ text/ platform/"
  [app/fonts]="app/fonts/ app/desktop/ settings/ text/ platform/"
  [app/details]="app/details/ app/desktop/ editor/ text/ platform/"
  [app/session]="app/session/ app/desktop/ editor/ settings/ text/ platform/"
  [app/window]="app/ widgets/ editor/ settings/ text/ platform/"
  [app]="app/ widgets/ editor/ settings/ text/ platform/"
)
# Qt stays out of these (and out of platform/ but for its qt/ folder).
no_qt=(text settings platform)

# The table's row for a folder: itself or the nearest folder above it that has one.
row_of() {
  local folder=$1
  while [[ -n $folder && -z ${allowed[$folder]+set} ]]; do
    [[ $folder == */* ]] && folder=${folder%/*} || folder=""
  done
  echo "$folder"
}

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print |
    sed 's#^\./##')
fi

failures=0
checked=0
for file in "${files[@]}"; do
  folder=$(dirname "$file")
  extra=""
  if [[ $folder == tests/* ]]; then
    folder=${folder#tests/}
    extra="tests/"
  fi
  row=$(row_of "$folder")
  [[ -n $extra && $row == app/* ]] && row=app
  [[ -z $row ]] && continue  # bench/, fuzz/, tests/support/, tests/e2e/: not layered
  checked=$((checked + 1))
  read -r -a prefixes <<<"${allowed[$row]} $extra"
  while IFS=: read -r line include; do
    [[ $include =~ ^(app|widgets|editor|settings|text|platform|tests)/ ]] || continue  # generated
    ok=0
    for prefix in "${prefixes[@]}"; do
      [[ $include == "$prefix"* ]] && ok=1 && break
    done
    if ((!ok)); then
      echo "$file:$line: includes \"$include\"; $row/ may include ${allowed[$row]}"
      failures=$((failures + 1))
    fi
  done < <(grep -n '^#include "' "$file" | sed -E 's/^([0-9]+):#include "([^"]*)".*/\1:\2/')
  for layer in "${no_qt[@]}"; do
    if [[ $row == "$layer" && $folder != platform/qt* ]] &&
      grep -nE '^#include <Q[A-Za-z]*>' "$file" >/dev/null; then
      echo "$file: includes a Qt header; $layer/ includes no Qt"
      failures=$((failures + 1))
    fi
  done
done

if ((failures)); then
  echo "$failures includes against the layering"
  exit 1
fi
echo "$checked files include only what their layer may"
