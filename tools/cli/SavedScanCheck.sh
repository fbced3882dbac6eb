#!/bin/sh
# Runs korvex-cli on a scratch tree for the saved-scan command tests:
#   show  a saved scan and an ncdu export report what the scan reported
#   diff  a file added between two saved scans is reported as added
set -eu
cli=$1
mode=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir "$dir/t"
case $mode in
show)
    head -c 50000 /dev/urandom > "$dir/t/f"
    printf x > "$dir/t/name
with newline"
    # Timing and the facts only a read-back scan has differ by nature.
    "$cli" scan "$dir/t" --json --save "$dir/saved" | grep -v seconds > "$dir/scan"
    "$cli" show "$dir/saved" --json | grep -v 'seconds\|host\|scan_time' > "$dir/show"
    diff "$dir/scan" "$dir/show"
    "$cli" scan "$dir/t" --export-ncdu - > "$dir/export"
    "$cli" show "$dir/export" --json | grep -v 'seconds\|host\|scan_time\|entries' > "$dir/ncdu"
    grep -v entries "$dir/scan" | diff - "$dir/ncdu"
    echo same
    ;;
diff)
    "$cli" scan "$dir/t" --save "$dir/1" > /dev/null
    head -c 50000 /dev/urandom > "$dir/t/new"
    "$cli" scan "$dir/t" --save "$dir/2" > /dev/null
    "$cli" diff "$dir/1" "$dir/2"
    ;;
esac
