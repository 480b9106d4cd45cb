#!/usr/bin/env bash
# Brings the translation files up to date with the texts the code shows:
# every tr() text of the sources is added to ui/translations/*.ts (English
# ones to translate, Chinese ones taken as they stand, Chinese being the
# source language), texts no longer used are dropped. Then translate what
# English.ts marks unfinished; the translation test fails until that is done.
set -euo pipefail
cd "$(dirname "$0")/.."
sources=(app base pl video color mcu wireless platform ui)
for language in English:en_GB Chinese:zh_CN; do
    lupdate -silent -no-obsolete -locations none -source-language zh_CN -target-language "${language#*:}" \
        "${sources[@]}" -ts "ui/translations/${language%%:*}.ts"
done
echo "unfinished English texts: $(grep -c 'type="unfinished"' ui/translations/English.ts || true)"
