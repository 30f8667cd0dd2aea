// The calculations attached to the data module's datasets.
#include "tdm.h"

void TDM::DSetDocsNewRecord() {}
void TDM::DSetDetailNewRecord() {}
void TDM::DSetClientsNewRecord() {}
void TDM::DSetNomenklNewRecord() {}
void TDM::DSetSchetORGNewRecord() {}
void TDM::DSetSchetsNewRecord() {}
void TDM::DSetOsnovanieNewRecord() {}
void TDM::DSetDetailCENASHTChange() {}
void TDM::DSetDetailCalcFields() {}
void TDM::DSetDocsCalcFields() {}
void TDM::computeDocumentTotals(TotalsForm) {}
