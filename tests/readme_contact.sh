#!/usr/bin/env bash
# The README's "연락처 / Contact" section gives the contact address the build defines.
set -u
readme=$1 contact=$2
section=$(sed -n '/^## 연락처 \/ Contact$/,/^## /p' "$readme")
[ -n "$section" ] || { echo "FAIL: no '## 연락처 / Contact' section in $readme"; exit 1; }
grep -qF "$contact" <<<"$section" || { echo "FAIL: the section does not give $contact"; exit 1; }
echo "1 passed, 0 failed"
