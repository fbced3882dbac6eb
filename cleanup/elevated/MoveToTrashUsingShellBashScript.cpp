#include "cleanup/elevated/MoveToTrashUsingShellBashScript.h"

#include "cleanup/elevated/ShellPathUtil.h"
#include "scan/format/PathsGenerator.h"

#include <unistd.h>

namespace korvex {

namespace {

// The script runs as root when elevated, so the Trash and its owner are those
// of the user who asked, written in rather than asked of the shell.
std::string prelude(const std::string& homeTrash, uid_t uid) {
    std::string text = "uid=" + std::to_string(uid) + "\n";
    text += "hometrash=" + ShellPathUtil::shelledPath(homeTrash) + "\n";
    text += kReportErrorFunction;
    text += R"SH(
# The path as a .trashinfo keeps it: every byte but the unreserved ones and
# "/" percent-encoded.
trashinfopath() {
	local hex c out=
	for hex in $(printf '%s' "$1" | od -An -v -tx1); do
		case $hex in
			2[def]|3[0-9]|4[1-9a-f]|5[0-9a]|5f|6[1-9a-f]|7[0-9a]|7e)
				printf -v c "\\x$hex"
				out+=$c ;;
			*) out+="%${hex^^}" ;;
		esac
	done
	printf '%s' "$out"
}

# Sets trash to the Trash for $1: the home Trash on the home Trash's file
# system; elsewhere the volume's .Trash/uid when .Trash is a sticky folder
# and not a link, else its .Trash-uid.
trashfor() {
	local probe=$hometrash top
	while [[ ! -e $probe ]]; do
		probe=${probe%/*}
		probe=${probe:-/}
	done
	if [[ $(stat -c %d -- "$probe") == "$(stat -c %d -- "$1")" ]]; then
		trash=$hometrash
		return 0
	fi
	top=$(stat -c %m -- "$1") || return 1
	top=${top%/}
	if [[ -d $top/.Trash && ! -L $top/.Trash && -k $top/.Trash ]]; then
		trash=$top/.Trash/$uid
	else
		trash=$top/.Trash-$uid
	fi
}

movetotrash() {
	local path trash name candidate info i message
	for path in "$@"; do
		if [[ ! -e $path && ! -L $path ]]; then
			reporterror 2 "$path does not exist."
			continue
		fi
		if ! trashfor "$path"; then
			reporterror 2 "No Trash was found for $path."
			continue
		fi
		if [[ ! -d $trash/files || ! -d $trash/info ]]; then
			if ! message=$(mkdir -p -m 700 -- "$trash/files" "$trash/info" 2>&1); then
				reporterror 1 "$message"
				continue
			fi
			chown -- "$uid" "$trash" "$trash/files" "$trash/info" 2>/dev/null
		fi
		name=${path##*/}
		candidate=$name
		i=0
		while true; do
			info=$trash/info/$candidate.trashinfo
			if [[ ! -e $trash/files/$candidate && ! -L $trash/files/$candidate ]]; then
				# noclobber creates the info file only when the name is free.
				if (set -C; printf '[Trash Info]\nPath=%s\nDeletionDate=%s\n' \
					"$(trashinfopath "$path")" "$(date +%Y-%m-%dT%H:%M:%S)" > "$info") 2>/dev/null; then
					break
				fi
				if [[ ! -e $info && ! -L $info ]]; then
					reporterror 1 "The Trash information of $path could not be written."
					continue 2
				fi
			fi
			i=$((i + 1))
			if [[ ( ! -d $path || -L $path ) && $name == ?*.* ]]; then
				candidate="${name%.*} $i.${name##*.}"
			else
				candidate="$name $i"
			fi
		done
		chown -- "$uid" "$info" 2>/dev/null
		if ! message=$(mv -- "$path" "$trash/files/$candidate" 2>&1); then
			rm -f -- "$info"
			reporterror 1 "$message"
		fi
	done
}
)SH";
    return text;
}

}  // namespace

MoveToTrashUsingShellBashScript::MoveToTrashUsingShellBashScript(std::vector<std::string> paths)
    : MoveToTrashUsingShellBashScript(
          std::move(paths), PathsGenerator::GetInstance().buildTrashDirectory(), ::getuid()) {}

MoveToTrashUsingShellBashScript::MoveToTrashUsingShellBashScript(std::vector<std::string> paths,
                                                                 const std::string& homeTrash,
                                                                 uid_t uid)
    : mContents(prelude(homeTrash, uid)), mPaths(std::move(paths)) {}

std::string MoveToTrashUsingShellBashScript::buildScript() const {
    std::string text = mContents + "\n";
    for (const std::string& path : mPaths) {
        text += "\nmovetotrash " + ShellPathUtil::shelledPath(path);
    }
    return text;
}

}  // namespace korvex
