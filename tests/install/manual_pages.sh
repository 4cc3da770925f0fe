#!/usr/bin/env bash
# Both manual pages render without a warning from man or groff in the locales a player may
# have: the C locale (ASCII, where Chinese cannot be shown and a fallback says so), a UTF-8
# one (C.UTF-8; zh_CN.UTF-8 renders alike), and zh_CN.GBK when localedef can make it (man then
# converts the page's UTF-8). No character is lost on the way.
# Usage: manual_pages.sh PAGE...   (morvane.6 and zh_CN/man6/morvane.6, built or packaged; a
#                                   page under a zh_CN folder is the Chinese one)
set -uo pipefail
[ $# -gt 0 ] || { echo "usage: manual_pages.sh PAGE..." >&2; exit 2; }
if ! command -v man >/dev/null; then
  echo "man is not installed: skipped"
  exit 0
fi
failed=0
fail() {
  echo "$*"
  failed=1
}

# A GBK locale of our own, made from the system's locale sources (package locales).
locales=$(mktemp -d)
trap 'rm -rf "$locales"' EXIT
available="C C.UTF-8"
localedef -i zh_CN -f GBK "$locales/zh_CN.GBK" >/dev/null 2>&1
[ -d "$locales/zh_CN.GBK" ] && available+=" zh_CN.GBK"

for page in "$@"; do
  for locale in $available; do
    rendered=$(LOCPATH=$locales LC_ALL=$locale MANWIDTH=80 man --warnings -l "$page" 2>"$locales/err" |
      iconv -f "$(LOCPATH=$locales LC_ALL=$locale locale charmap)" -t UTF-8)
    [ -s "$locales/err" ] && fail "$page in $locale: $(head -3 "$locales/err")"
    # Every character that could not be shown comes out as nothing or as a question mark (the
    # key ? is the one of its own, at the start of its entry).
    grep -q '?' <<<"$(grep -v -e 'MV1-AQ\.\.\.' -e '\^?' -e '^ *? ' <<<"$rendered")" &&
      fail "$page in $locale shows a question mark"
    case $page:$locale in
      */zh_CN/*:C) grep -q "This is the Chinese manual" <<<"$rendered" ||
        fail "$page in C says nothing of the Chinese it cannot show" ;;
      */zh_CN/*) grep -q "属性" <<<"$rendered" || fail "$page in $locale lost its Chinese" ;;
      *:C) grep -q "endless mode" <<<"$rendered" || fail "$page in C lost the mode names" ;;
      *) grep -q "无尽模式" <<<"$rendered" || fail "$page in $locale lost the mode names" ;;
    esac
  done
done
[ "$failed" -eq 0 ] && echo "both manual pages render in: $available"
exit "$failed"
