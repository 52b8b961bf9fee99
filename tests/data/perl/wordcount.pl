#!/usr/bin/perl -w
# Counts the words of the files given, most frequent first.
use strict;
use vars qw($opt_n);
use Getopt::Std;

getopts('n:') or die "usage: $0 [-n COUNT] FILE...\n";
my $limit = defined $opt_n ? $opt_n : 20;
my (%count, $total);

while (my $line = <>) {
    chomp $line;
    next if $line =~ /^\s*(#|$)/;          # blank and comment lines
    foreach my $word (split /[^\w']+/, lc $line) {
        next unless length $word;
        $count{$word}++;
        $total += 1;
    }
}

my @words = sort { $count{$b} <=> $count{$a} || $a cmp $b } keys %count;
splice(@words, $limit) if @words > $limit;
printf "%-20s %6d %5.1f%%\n", $_, $count{$_}, 100 * $count{$_} / $total for @words;
print "Total: $total words in $. lines\n" if $total ne '' and $total > 0;
print 'Files: ', join(', ', @ARGV), "\n" unless $ENV{QUIET};
warn "No input\n" if !$total;
exit($total ? 0 : 1);
