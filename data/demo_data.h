#pragma once

class TDM;

// Fills a new, empty database with a small, realistic business (own requisites and
// accounts, clients of every kind with accounts and grounds, goods and services, KNP
// codes, documents with lines, one of them archived) and commits it.
void fillDemoData(TDM &dm);
