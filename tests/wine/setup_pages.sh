#!/usr/bin/env bash
# Setup's pages under Wine, used by the robot as a person would, in Japanese,
# English and Chinese, with a screenshot of every page and message box:
#
#   setup_pages.sh MEDIUM [LOCALE...]     (default: ja_JP.UTF-8 en_US.UTF-8 zh_CN.UTF-8)
#
# MEDIUM is a medium folder whose Setup.exe runs here (build/medium-wine).
# For each locale, in a fresh prefix (so no printer is installed): the
# operation page with its title and captions; Install leads to the folder
# page with the default folder; Next to the model page with the catalogue's
# models and the options' first state; Next with no model chosen shows the
# box and stays; Back twice to the operation page; Uninstall leads to the
# removal page, empty on a machine without the printers; Next there shows the
# box; Cancel ends Setup. Then Setup alone in a folder without config.xml
# shows the catalogue error box and ends. Screenshots go to
# build/screenshots/setup-LANGUAGE/ and setup-LANGUAGE-no-catalogue/.
# Written from the wizard's texts and control ids before Setup.exe
# existed in this tree; not yet part of scripts/test-all.sh.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
if [ $# -lt 1 ] || [ ! -f "$1/Setup.exe" ] || [ ! -f "$1/config.xml" ]; then
    echo "usage: $0 MEDIUM-FOLDER-WITH-Setup.exe-AND-config.xml [LOCALE...]" >&2
    exit 2
fi
medium="$(realpath "$1")"
shift
locales=("$@")
[ ${#locales[@]} -gt 0 ] || locales=(ja_JP.UTF-8 en_US.UTF-8 zh_CN.UTF-8)
robot="$root/build/win64/tests/robot/Robot.exe"
[ -f "$robot" ] || { echo "setup_pages: no $robot (build the win64 preset)" >&2; exit 2; }

# The wizard's texts, by language and text id.
declare -A text=(
    [ja,0]="アクションの選択" [en,0]="Select Operation" [zh,0]="选择操作"
    [ja,1]="選択駆動" [en,1]="Select Driver" [zh,1]="选择驱动"
    [ja,3]="キャンセル" [en,3]="Cancel" [zh,3]="取消"
    [ja,4]="次のステップ" [en,4]="Next Step >" [zh,4]="下一步(N) >"
    [ja,5]="前へ" [en,5]="< Prev Step" [zh,5]="< 上一步(B)"
    [ja,6]="インストール" [en,6]="Install" [zh,6]="安装"
    [ja,7]="アンインストール" [en,7]="Uninstall" [zh,7]="卸载"
    [ja,11]="エラー" [en,11]="Error" [zh,11]="错误"
    [ja,12]="プリンタプロファイルがない、またはプロファイルが間違っている!"
    [en,12]="No printer configuration file or error in configuration file!"
    [zh,12]="无打印机配置文件或者配置文件错误!"
    [ja,13]="ドライブが選択されていません!" [en,13]="No driver is selected yet!" [zh,13]="没有选择驱动!"
    [ja,17]="インストーラは、プリンタドライバを次のフォルダにインストールします。別のフォルダにインストールする場合は、【フォルダを参照】をクリックし、別のフォルダを選択します。【次へ】をクリックして続行します。"
    [en,17]="Setup installs the printer driver to the following folder.If you want to install to a different folder, click [Browse] and select another folder.Click [Next Step] to continue."
    [zh,17]="安装程序将打印机驱动安装到下列文件夹。如果要安装到不同的文件夹，点击【浏览文件夹】，并选择其他文件夹。点击【下一步】继续。"
    [ja,18]="フォルダを参照" [en,18]="Browse" [zh,18]="浏览文件夹"
    [ja,19]="フォルダを選択してください" [en,19]="Please browse folder" [zh,19]="请选择文件夹"
    [ja,20]="プリンタポート:" [en,20]="Please select port:" [zh,20]="请选择打印机端口:"
    [ja,21]="仮想プリンタポート" [en,21]="Use virtual printer port" [zh,21]="使用虚拟打印机端口"
    [ja,22]="デフォルトプリンタ" [en,22]="Set as default printer" [zh,22]="设为默认打印机"
    [ja,23]="モニタ状態" [en,23]="Enable status monitor" [zh,23]="启用状态监控"
)
models="$(python3 "$root/scripts/medium-catalogue.py" models "$medium/config.xml" | paste -sd'|')"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

for locale in "${locales[@]}"; do
    l="${locale%%_*}"
    t() { printf '%s' "${text[$l,$1]}"; }
    cat >"$work/pages-$l.robot" <<EOF
start \$SETUP
wait-class #32770 30000
wait-title "$(t 0)"
expect-text 1000 "$(t 5)"
expect-text 1 "$(t 4)"
expect-text 2 "$(t 3)"
expect-enabled 1000 no
expect-enabled 1 yes
expect-text 1001 "$(t 6)"
expect-text 1002 "$(t 7)"
expect-checked 1001 yes
expect-checked 1002 no
screenshot operation
click 1
expect-text 1015 "C:\\\\Varnoquill_Printer"
wait-title "$(t 1)"
expect-text -1 "$(t 17)"
expect-text 1016 "$(t 18)"
expect-text 1020 "$(t 19)"
expect-enabled 1000 yes
screenshot folder
click 1
expect-text 1018 "$(t 21)"
expect-text 1019 "$(t 22)"
expect-text 1020 "$(t 23)"
expect-text -1 "$(t 20)"
expect-checked 1018 yes
expect-checked 1019 no
expect-checked 1020 yes
expect-items 1004 "$models"
expect-selected 1004 ""
screenshot model
click 1
wait-msgbox
expect-msgbox "$(t 13)"
expect-msgbox-buttons OK
screenshot model-nothing-selected
answer OK
click 1000
expect-text 1015 "C:\\\\Varnoquill_Printer"
click 1000
expect-text 1001 "$(t 6)"
click 1002
click 1
expect-items 1004 ""
wait-title "$(t 1)"
screenshot removal
click 1
wait-msgbox
expect-msgbox "$(t 13)"
screenshot removal-nothing-selected
answer OK
click 2
wait-exit any
EOF
    echo "setup_pages: $locale"
    if ! bash "$root/tests/robot/run_robot_test.sh" --locale "$locale" --prefix "$work/prefix-$l" \
        --shots "$root/build/screenshots/setup-$l" "$robot" "$work/pages-$l.robot" \
        SETUP="$medium/Setup.exe"; then
        failures=$((failures + 1))
    fi

    # Without config.xml beside it: the error box, no page, the end.
    mkdir -p "$work/no-config"
    cp "$medium/Setup.exe" "$work/no-config/Setup.exe"
    cat >"$work/no-config-$l.robot" <<EOF
start \$SETUP
wait-msgbox 30000
expect-msgbox "$(t 12)" "$(t 11)"
expect-msgbox-buttons OK
screenshot no-catalogue
answer OK
wait-exit any
EOF
    if ! bash "$root/tests/robot/run_robot_test.sh" --locale "$locale" --prefix "$work/prefix-$l" \
        --shots "$root/build/screenshots/setup-$l-no-catalogue" "$robot" "$work/no-config-$l.robot" \
        SETUP="$work/no-config/Setup.exe"; then
        failures=$((failures + 1))
    fi
done

if [ "$failures" -ne 0 ]; then
    echo "setup_pages: $failures run(s) failed"
    exit 1
fi
echo "setup_pages: all pages as they should be; screenshots in build/screenshots/setup-*"
