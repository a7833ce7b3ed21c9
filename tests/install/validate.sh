#!/bin/sh
# Runs a freedesktop validator over a file of the installed tree; exits 77
# (the test is skipped) when the validator is not installed.
#   validate.sh desktop|appstream|mime FILE
kind=$1 file=$2
case $kind in
desktop)
    command -v desktop-file-validate >/dev/null 2>&1 || { echo "desktop-file-validate not installed"; exit 77; }
    exec desktop-file-validate "$file" ;;
appstream)
    command -v appstreamcli >/dev/null 2>&1 || { echo "appstreamcli not installed"; exit 77; }
    exec appstreamcli validate --no-net "$file" ;;
mime)
    command -v xmllint >/dev/null 2>&1 || { echo "xmllint not installed"; exit 77; }
    exec xmllint --noout "$file" ;;
esac
echo "unknown kind: $kind"
exit 2
