#!/usr/bin/perl
# debian_changelog.pl CHANGELOG.md PACKAGE VERSION REVISION MAINTAINER EPOCH OUT
# Writes the Debian changelog of PACKAGE to OUT from the releases in
# CHANGELOG.md, newest first: a heading "## <version> - <yyyy-mm-dd>" begins a
# release and each "- " item (with its indented lines) is a change. A release
# becomes the entry of <version>-REVISION, signed by MAINTAINER at midnight
# UTC of its day. When CHANGELOG.md has no release VERSION yet, an entry of
# its own comes first, dated EPOCH (seconds since 1970).
use strict;
use warnings;
use POSIX qw(strftime setlocale LC_TIME);

my ($source, $package, $version, $revision, $maintainer, $epoch, $out) = @ARGV;
die "usage: $0 CHANGELOG.md PACKAGE VERSION REVISION MAINTAINER EPOCH OUT\n" unless defined $out;
setlocale(LC_TIME, 'C');

# Days from 1970-01-01 to a date of the Gregorian calendar.
sub days_since_1970 {
    my ($y, $m, $d) = @_;
    $y -= 1 if $m <= 2;
    my $era = int($y / 400);
    my $year_of_era = $y - $era * 400;
    my $day_of_year = int((153 * (($m + 9) % 12) + 2) / 5) + $d - 1;
    my $day_of_era = $year_of_era * 365 + int($year_of_era / 4) - int($year_of_era / 100) + $day_of_year;
    return $era * 146097 + $day_of_era - 719468;
}

open(my $in, '<:encoding(UTF-8)', $source) or die "$source: $!\n";
my @releases;
while (my $line = <$in>) {
    $line =~ s/\s+$//;
    if ($line =~ /^## (\S+) - (\d{4})-(\d{2})-(\d{2})$/) {
        push @releases, { version => $1, time => days_since_1970($2, $3, $4) * 86400, changes => [] };
    } elsif (@releases && $line =~ /^- (.*)$/) {
        push @{ $releases[-1]{changes} }, "  * $1";
    } elsif (@releases && @{ $releases[-1]{changes} } && $line =~ /^  +(\S.*)$/) {
        push @{ $releases[-1]{changes} }, "    $1";
    } elsif (@releases && $line ne '') {
        die "$source:$.: neither a release heading nor a change: $line\n";
    }
}
close($in);
die "$source: no release\n" unless @releases;
for my $release (@releases) {
    die "$source: release $release->{version} lists no change\n" unless @{ $release->{changes} };
}
if (!grep { $_->{version} eq $version } @releases) {
    unshift @releases, { version => $version, time => $epoch, changes => ["  * New upstream release."] };
}

open(my $changelog, '>:encoding(UTF-8)', $out) or die "$out: $!\n";
my $first = 1;
for my $release (@releases) {
    print {$changelog} "\n" unless $first;
    $first = 0;
    my $date = strftime('%a, %d %b %Y %H:%M:%S +0000', gmtime($release->{time}));
    print {$changelog} "$package ($release->{version}-$revision) unstable; urgency=medium\n\n";
    print {$changelog} "$_\n" for @{ $release->{changes} };
    print {$changelog} "\n -- $maintainer  $date\n";
}
close($changelog) or die "$out: $!\n";
