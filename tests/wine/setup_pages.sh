#!/usr/bin/env bash
# Setup's pages and message boxes under Wine, used by the robot as a person
# would, in Japanese, English and Chinese, every text checked, with a
# screenshot of each:
#
#   setup_pages.sh MEDIUM [LOCALE...]     (default: ja_JP.UTF-8 en_US.UTF-8 zh_CN.UTF-8)
#
# MEDIUM is a medium folder whose Setup.exe runs here (build/medium-wine).
# For each locale, in a fresh prefix without printers:
#   0. with no USB port on the machine, the catalogue's second model without
#      the virtual port: the port box is empty and Setup goes on with an empty
#      port name, which Wine's spooler takes (Windows' refuses it); Setup
#      must come to the completion page. Then the prefix gets a port USB001.
#   1. an installation: the operation page; Install leads to the folder page
#      with the default folder; Browse opens the shell's folder browser with
#      its title, and a folder chosen there fills the field; Next to the
#      model page with the catalogue's models, the port and the options'
#      first state; Back shows the folder page afresh; Next with no model
#      chosen shows the box and stays; a model with the virtual port (no USB
#      printer is attached under Wine) shows the connect prompt, and Cancel
#      there stays; without the virtual port the printer is installed on
#      USB001 and the completion page says so; Next ends Setup. Installed
#      once more, the completion page says that the printer is there already.
#   2. a removal: Uninstall leads to the removal page, which lists the
#      printers just installed; Next with nothing chosen shows the box; the
#      printer chosen, Next removes it and the completion page says so.
#   3. Setup alone in a folder without config.xml: the catalogue error box,
#      and the end.
# Screenshots go to build/screenshots/setup-LANGUAGE/{no-port,install,
# reinstall,removal,no-catalogue}/ and are listed at the end.
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
    [ja,2]="完了" [en,2]="Complete" [zh,2]="完成"
    [ja,3]="キャンセル" [en,3]="Cancel" [zh,3]="取消"
    [ja,4]="次のステップ" [en,4]="Next Step >" [zh,4]="下一步(N) >"
    [ja,5]="前へ" [en,5]="< Prev Step" [zh,5]="< 上一步(B)"
    [ja,6]="インストール" [en,6]="Install" [zh,6]="安装"
    [ja,7]="アンインストール" [en,7]="Uninstall" [zh,7]="卸载"
    [ja,8]="完成!" [en,8]="Complete!" [zh,8]="完成！"
    [ja,9]="プリンタは既に存在します" [en,9]="The printer has already existed!" [zh,9]="打印机已经存在"
    [ja,11]="エラー" [en,11]="Error" [zh,11]="错误"
    [ja,12]="プリンタプロファイルがない、またはプロファイルが間違っている!"
    [en,12]="No printer configuration file or error in configuration file!"
    [zh,12]="无打印机配置文件或者配置文件错误!"
    [ja,13]="ドライブが選択されていません!" [en,13]="No driver is selected yet!" [zh,13]="没有选择驱动!"
    [en,14]="Please connect the printer before using the virtual port"
    [zh,14]="请连接打印机后再使用虚拟端口"
    [ja,17]="インストーラは、プリンタドライバを次のフォルダにインストールします。別のフォルダにインストールする場合は、【フォルダを参照】をクリックし、別のフォルダを選択します。【次へ】をクリックして続行します。"
    [en,17]="Setup installs the printer driver to the following folder.If you want to install to a different folder, click [Browse] and select another folder.Click [Next Step] to continue."
    [zh,17]="安装程序将打印机驱动安装到下列文件夹。如果要安装到不同的文件夹，点击【浏览文件夹】，并选择其他文件夹。点击【下一步】继续。"
    [ja,18]="フォルダを参照" [en,18]="Browse" [zh,18]="浏览文件夹"
    [ja,19]="フォルダを選択してください" [en,19]="Please browse folder" [zh,19]="请选择文件夹"
    [ja,20]="プリンタポート:" [en,20]="Please select port:" [zh,20]="请选择打印机端口:"
    [ja,21]="仮想プリンタポート" [en,21]="Use virtual printer port" [zh,21]="使用虚拟打印机端口"
    [ja,22]="デフォルトプリンタ" [en,22]="Set as default printer" [zh,22]="设为默认打印机"
    [ja,23]="モニタ状態" [en,23]="Enable status monitor" [zh,23]="启用状态监控"
    [ja,24]="プリンターを接続して、もう一度やり直してください!"
)
# The Japanese table has no text 14: its connect prompt shows text 24.
declare -A connect_text=([ja]=24 [en]=14 [zh]=14)
# The folder browser's title is the same in every language.
browser_title="请选择"
# The pages' message boxes carry the program's name.
box_caption="Setup"
models="$(python3 "$root/scripts/medium-catalogue.py" models "$medium/config.xml" | paste -sd'|')"
model="${models%%|*}"
second_model="$(cut -d'|' -f2 <<<"$models")"
source "$root/scripts/wine-env.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# A prefix without printers in which a program that crashes ends with its
# backtrace on the console, rather than waiting in Wine's crash dialog.
fresh_prefix() {
    local prefix="$1"
    bash "$root/scripts/wine-prefix.sh" "$prefix" >/dev/null || return 1
    WINEPREFIX="$prefix" DISPLAY= "$VQ_WINE64" reg add 'HKCU\Software\Wine\WineDbg' \
        /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null || return 1
    WINEPREFIX="$prefix" wineserver -w
}

# The port that a printer attached through USB brings, so that the port box
# has an entry to install on.
add_usb_port() {
    local prefix="$1"
    WINEPREFIX="$prefix" DISPLAY= "$VQ_WINE64" reg add \
        'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports' /v USB001 /t REG_SZ /d "" /f \
        >/dev/null 2>&1 </dev/null || return 1
    WINEPREFIX="$prefix" wineserver -w
}

# Runs one robot script in the locale; a failed run is counted.
run() {
    local locale="$1" prefix="$2" shots="$3" script="$4" setup="$5"
    if ! bash "$root/tests/robot/run_robot_test.sh" --locale "$locale" --prefix "$prefix" \
        --shots "$shots" "$robot" "$script" SETUP="$setup"; then
        echo "setup_pages: FAILED: $(basename "$script") in $locale"
        failures=$((failures + 1))
    fi
}

mkdir -p "$work/no-config"
cp "$medium/Setup.exe" "$work/no-config/Setup.exe"
for locale in "${locales[@]}"; do
    l="${locale%%_*}"
    t() { printf '%s' "${text[$l,$1]}"; }
    shots="$root/build/screenshots/setup-$l"
    rm -rf "$shots"
    echo "setup_pages: $locale"
    prefix="$work/prefix-$l"
    if ! fresh_prefix "$prefix"; then
        echo "setup_pages: FAILED: no prefix for $locale"
        failures=$((failures + 1))
        continue
    fi

    cat >"$work/no-port-$l.robot" <<EOF
start \$SETUP
wait-class #32770 30000
wait-title "$(t 0)"
click 1
wait-title "$(t 1)"
expect-text 1016 "$(t 18)"
click 1
expect-items 1004 "$models"
expect-combo-items 1011 ""
expect-combo 1011 ""
select-item 1004 "$second_model"
check 1018 no
check 1020 no
screenshot model-no-port
click 1
wait-title "$(t 2)" 60000
expect-text 1003 "$(t 8)"
click 1
wait-exit any
EOF
    run "$locale" "$prefix" "$shots/no-port" "$work/no-port-$l.robot" "$medium/Setup.exe"
    if ! add_usb_port "$prefix"; then
        echo "setup_pages: FAILED: no USB port for $locale"
        failures=$((failures + 1))
        continue
    fi

    cat >"$work/install-$l.robot" <<EOF
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
wait-title "$(t 1)"
expect-text 1015 "C:\\\\Varnoquill_Printer"
expect-text -1 "$(t 17)"
expect-text 1016 "$(t 18)"
expect-text 1020 "$(t 19)"
expect-enabled 1000 yes
expect-text 1 "$(t 4)"
screenshot folder
click 1016
wait-browser
expect-browser-text "$browser_title"
screenshot folder-browser
browse-folder "C:\\\\windows"
expect-text 1015 "C:\\\\windows"
click 1
expect-text 1018 "$(t 21)"
wait-title "$(t 1)"
expect-text 1019 "$(t 22)"
expect-text 1020 "$(t 23)"
expect-text -1 "$(t 20)"
expect-checked 1018 yes
expect-checked 1019 no
expect-checked 1020 yes
expect-items 1004 "$models"
expect-selected 1004 ""
expect-combo-items 1011 USB001
expect-combo 1011 USB001
expect-enabled 1000 yes
screenshot model
click 1000
expect-text 1015 "C:\\\\Varnoquill_Printer"
click 1
expect-items 1004 "$models"
click 1
wait-msgbox
expect-msgbox "$(t 13)" "$box_caption"
expect-msgbox-buttons OK
screenshot model-nothing-selected
answer OK
expect-items 1004 "$models"
select-item 1004 "$model"
check 1020 no
click 1
wait-msgbox
expect-msgbox "$(t ${connect_text[$l]})" "$box_caption"
expect-msgbox-buttons OK,Cancel
screenshot model-connect-printer
answer Cancel
wait-title "$(t 1)"
expect-selected 1004 "$model"
check 1018 no
click 1
wait-title "$(t 2)" 60000
expect-text 1003 "$(t 8)"
expect-text 1 "$(t 2)"
expect-text 1000 "$(t 5)"
expect-enabled 1000 no
expect-enabled 1 yes
screenshot install-complete
click 1
wait-exit any
EOF
    run "$locale" "$prefix" "$shots/install" "$work/install-$l.robot" "$medium/Setup.exe"

    # The same printer again: the spooler has it already.
    cat >"$work/reinstall-$l.robot" <<EOF
start \$SETUP
wait-class #32770 30000
wait-title "$(t 0)"
click 1
wait-title "$(t 1)"
expect-text 1016 "$(t 18)"
click 1
expect-items 1004 "$models"
select-item 1004 "$model"
check 1018 no
check 1020 no
click 1
wait-title "$(t 2)" 60000
expect-text 1003 "$(t 9)"
screenshot install-already-there
click 1
wait-exit any
EOF
    run "$locale" "$prefix" "$shots/reinstall" "$work/reinstall-$l.robot" "$medium/Setup.exe"

    cat >"$work/remove-$l.robot" <<EOF
start \$SETUP
wait-class #32770 30000
wait-title "$(t 0)"
click 1002
expect-checked 1002 yes
click 1
wait-title "$(t 1)"
expect-items 1004 "$models"
expect-selected 1004 ""
expect-enabled 1000 yes
expect-text 1 "$(t 4)"
screenshot removal
click 1
wait-msgbox
expect-msgbox "$(t 13)" "$box_caption"
expect-msgbox-buttons OK
screenshot removal-nothing-selected
answer OK
select-item 1004 "$model"
click 1
wait-title "$(t 2)" 60000
expect-text 1003 "$(t 8)"
expect-text 1 "$(t 2)"
expect-enabled 1000 no
screenshot removal-complete
click 2
wait-exit any
EOF
    run "$locale" "$prefix" "$shots/removal" "$work/remove-$l.robot" "$medium/Setup.exe"

    # Without config.xml beside it: the error box, no page, the end.
    cat >"$work/no-config-$l.robot" <<EOF
start \$SETUP
wait-msgbox 30000
expect-msgbox "$(t 12)" "$(t 11)"
expect-msgbox-buttons OK
screenshot no-catalogue
answer OK
wait-exit any
EOF
    run "$locale" "$prefix" "$shots/no-catalogue" "$work/no-config-$l.robot" "$work/no-config/Setup.exe"
done

echo "setup_pages: screenshots:"
for locale in "${locales[@]}"; do
    find "$root/build/screenshots/setup-${locale%%_*}" -name '*.png' 2>/dev/null | sort | sed 's/^/  /'
done
if [ "$failures" -ne 0 ]; then
    echo "setup_pages: $failures run(s) failed"
    exit 1
fi
echo "setup_pages: every page and message box as it should be, in ${locales[*]}"
