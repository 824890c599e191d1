#!/bin/sh
# Writes keycheck's manual page from its own help texts with help2man: the program's --help
# and --version, and the --help of each verb keycheck --verbs lists, as a section of its own.
# usage: make_manpage.sh KEYCHECK OUTPUT.1
set -eu
keycheck="$1"
out="$2"
include="$out.include"
{
    echo "[VERBS]"
    "$keycheck" --verbs | cut -f1 | while IFS= read -r verb; do
        echo ".SS keycheck $verb"
        echo ".nf"
        # roff reads a backslash as an escape and a leading dot as a request.
        # shellcheck disable=SC2086  # "disk build" is two words of the command line
        "$keycheck" $verb --help | sed -e 's/\\/\\e/g' -e 's/^\./\\\&./'
        echo ".fi"
    done
    echo "[SEE ALSO]"
    echo "The full manual, with examples on the sample package: tools/keycheck/README.md in the"
    echo "launcher's source, installed beside this page as /usr/share/doc/keycheck/README.md."
} >"$include"
help2man --no-info --section=1 \
    --name="checks a driver package the way the driver-setup launcher reads it" \
    --include="$include" --output="$out" "$keycheck"
rm -f "$include"
