-- A shop's fuller mapping for the "full" bench workload (vx-gencutlist ... full): nine
-- columns mapped, scribes and space balls on, machine type 2.
UPDATE tblSettings SET SettingValue = '1' WHERE SettingName IN ('Scribes', 'SpaceBalls');
UPDATE tblSettings SET SettingValue = '2' WHERE SettingName = 'MachineType';
UPDATE tblPartsFileMapping SET PF_Col = CASE MainName
    WHEN 'PART' THEN 1 WHEN 'MATERIAL' THEN 2 WHEN 'THICKNESS' THEN 3 WHEN 'WIDTH' THEN 4
    WHEN 'LENGTH' THEN 5 WHEN 'QUANTITY' THEN 6 WHEN 'SCRIBES' THEN 7 WHEN 'UF_1' THEN 8
    WHEN 'UF_2' THEN 9 ELSE 0 END;
UPDATE tblPartsFileMapping SET ManualField = (RequiredField OR MainName = 'SCRIBES' OR PF_Col > 0);
