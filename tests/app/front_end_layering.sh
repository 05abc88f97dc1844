#!/usr/bin/env bash
# No front end includes another's files, and the application layer none of
# theirs: the front ends stand side by side on app/.
#   front_end_layering.sh REPOSITORY
set -euo pipefail
cd "$1"
front_ends=(cli python workbench web)
status=0
for own in "${front_ends[@]}" app; do
  [ -d "$own" ] || continue
  others=()
  for other in "${front_ends[@]}"; do [ "$other" != "$own" ] && others+=("$other"); done
  pattern="#include [\"<]($(IFS='|'; echo "${others[*]}"))/"
  if grep -rnE "$pattern" "$own" --include='*.h' --include='*.cpp'; then
    echo "$own/ includes another front end's files (above)" >&2
    status=1
  fi
done
exit $status
